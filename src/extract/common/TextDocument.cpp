#include "extract/common/TextDocument.h"

#include "text/CodePage.h"

namespace leafmill::extract {

const CodePage* programCodePage(const Options& options, std::shared_ptr<const CodePage>& systemPage)
{
    if (options.codePage)
        return options.codePage;
    systemPage = CodePage::open(CodePage::systemName());
    return systemPage.get();
}

DecodedText decodeTextDocument(std::string_view bytes, const Options& options)
{
    std::shared_ptr<const CodePage> systemPage;
    const CodePage* codePage = programCodePage(options, systemPage);
    // Without any code page the bytes can only be taken for UTF-8.
    if (!codePage)
        return {std::string(bytes), {}};
    const SourceEncoding chosen
        = chooseSourceEncoding(bytes.substr(0, kEncodingSample), *codePage, options.sourceEncoding);
    return {decodeSource(bytes, chosen), chosen.isCodePage ? std::string() : chosen.encoding.label};
}

TextReading textDocumentReading(std::string_view bytes, const Options& options)
{
    TextReading reading;
    std::shared_ptr<const CodePage> systemPage;
    const CodePage* codePage = programCodePage(options, systemPage);
    reading.asUtf8 = !codePage;
    if (!codePage)
        return reading;
    reading.encoding = chooseSourceEncoding(bytes.substr(0, kEncodingSample), *codePage, options.sourceEncoding);
    reading.readAs = reading.encoding.isCodePage ? std::string() : reading.encoding.encoding.label;
    reading.composed = true;
    return reading;
}

}  // namespace leafmill::extract
