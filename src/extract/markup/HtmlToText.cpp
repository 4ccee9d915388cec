#include "extract/markup/HtmlToText.h"

#include "extract/common/TextDocument.h"
#include "extract/markup/HtmlHeadings.h"
#include "extract/markup/HtmlLineFilter.h"
#include "extract/markup/PageDecoding.h"
#include "text/CodePage.h"

namespace leafmill::extract {

Result htmlToText(std::string_view bytes, const Options& options)
{
    std::shared_ptr<const CodePage> systemPage;
    const CodePage* codePage = programCodePage(options, systemPage);
    if (!codePage)
        return Result::failure("no code page to read the page in");

    Result result;
    DecodedPage page = decodePage(bytes, *codePage, options.sourceEncoding, result.warnings);
    const std::string text = std::move(page.text);
    result.readAs = std::move(page.readAs);
    HtmlLineFilter filter(*codePage, options.progress);
    result.text = filter.filter(text);
    result.chapters = htmlHeadings(text, result.text);
    result.ok = true;
    return result;
}

}  // namespace leafmill::extract
