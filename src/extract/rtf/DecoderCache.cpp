#include "extract/rtf/DecoderCache.h"

#include "extract/common/RtfCharsets.h"
#include "text/CodePage.h"

namespace leafmill::extract::rtf {

DecoderCache::DecoderCache(const CodePage* fallback)
    : fallbackName_(fallback ? fallback->name() : std::string("windows-1252"))
{
}

ByteDecoder& DecoderCache::fallback()
{
    if (!fallback_) {
        fallback_ = ByteDecoder::openConverter(fallbackName_);
        if (!fallback_)
            fallback_ = ByteDecoder::open(1252);
    }
    return *fallback_;
}

ByteDecoder& DecoderCache::get(int codePage)
{
    if (codePage < 0)
        codePage = 0;
    if (codePage == last_.first)
        return *last_.second;
    ByteDecoder* found = nullptr;
    bool known = false;
    for (auto& [page, decoder] : decoders_) {
        if (page == codePage) {
            found = decoder.get();
            known = true;
            break;
        }
    }
    if (!known && codePage != 0) {
        const SymbolFont symbolFont = symbolFontOfCodePage(codePage);
        auto decoder = symbolFont != SymbolFont::None ? ByteDecoder::forSymbolFont(symbolFont)
            : codePage == pictographCodePage          ? ByteDecoder::forPictographFont()
                                                      : ByteDecoder::open(codePage);
        if (!decoder)
            warnings_.push_back("unknown code page " + std::to_string(codePage) + "; its text was read as "
                                + fallbackName_);
        found = decoder.get();
        decoders_.emplace_back(codePage, std::move(decoder));
    }
    ByteDecoder& chosen = found ? *found : fallback();
    last_ = {codePage, &chosen};
    return chosen;
}

}  // namespace leafmill::extract::rtf
