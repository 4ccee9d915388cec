#include "extract/common/TextDocument.h"

#include "text/CodePage.h"

#include <algorithm>

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

DecodedPieces::DecodedPieces(std::string_view bytes, const Options& options)
    : options_(options)
    , bytes_(bytes)
{
    std::shared_ptr<const CodePage> systemPage;
    const CodePage* codePage = programCodePage(options, systemPage);
    if (!codePage)
        return;
    encoding_ = chooseSourceEncoding(bytes.substr(0, kEncodingSample), *codePage, options.sourceEncoding);
    readAs_ = encoding_.isCodePage ? std::string() : encoding_.encoding.label;
    bytes_.remove_prefix(std::min(encoding_.markSize, bytes_.size()));
    decoder_ = std::make_unique<Utf8Decoder>(encoding_.encoding.converter);
}

DecodedPieces::~DecodedPieces() = default;

bool DecodedPieces::next(std::string& piece)
{
    // A megabyte of the source is decoded at a time.
    constexpr std::size_t kBlock = std::size_t {1} << 20;
    while (!done_) {
        const std::string_view block = bytes_.substr(0, kBlock);
        bytes_.remove_prefix(block.size());
        done_ = bytes_.empty();
        decoded_ += decoder_ ? decoder_->decode(block, done_) : std::string(block);
        if (options_.release)
            options_.release(block);
        const std::size_t end = done_ ? decoded_.size() : decoded_.rfind('\n') + 1;
        if (end == 0)
            continue;
        piece = decoder_ ? composedSource(decoded_.substr(0, end), encoding_) : decoded_.substr(0, end);
        decoded_.erase(0, end);
        return true;
    }
    return false;
}

}  // namespace leafmill::extract
