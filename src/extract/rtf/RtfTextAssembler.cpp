#include "extract/rtf/RtfTextAssembler.h"

#include "text/Utf8.h"

namespace leafmill::extract::rtf {

void RtfTextAssembler::endPieces()
{
    if (active_) {
        active_->finish(out_);
        active_ = nullptr;
    }
    if (highSurrogate_) {
        appendUtf8(0xFFFD, out_);
        highSurrogate_ = 0;
    }
}

void RtfTextAssembler::switchDecoder(ByteDecoder& decoder)
{
    if (highSurrogate_ || (active_ && active_ != &decoder))
        endPieces();
}

void RtfTextAssembler::appendBytes(std::string_view bytes, ByteDecoder& decoder)
{
    switchDecoder(decoder);
    if (decoder.isSingleByte()) {
        decoder.appendSingleBytes(bytes, out_);
    } else {
        decoder.feed(bytes, out_);
        active_ = &decoder;
    }
}

void RtfTextAssembler::appendByte(unsigned char byte, ByteDecoder& decoder)
{
    if (decoder.isSingleByte() && !active_ && !highSurrogate_) {
        decoder.appendByte(byte, out_);
        return;
    }
    const char c = static_cast<char>(byte);
    appendBytes(std::string_view(&c, 1), decoder);
}

void RtfTextAssembler::appendUtf16Unit(char16_t unit)
{
    if (isLowSurrogate(unit) && highSurrogate_) {
        const char32_t c = fromSurrogates(highSurrogate_, unit);
        highSurrogate_ = 0;
        appendUtf8(c, out_);
        return;
    }
    endPieces();
    if (isHighSurrogate(unit))
        highSurrogate_ = unit;
    else
        appendUtf8(isLowSurrogate(unit) ? 0xFFFD : unit, out_);
}

void RtfTextAssembler::appendChar(char32_t c)
{
    endPieces();
    appendUtf8(c, out_);
}

void RtfTextAssembler::appendAscii(std::string_view text)
{
    endPieces();
    out_.append(text);
}

void RtfTextAssembler::endLine()
{
    endPieces();
    if (!out_.empty() && !out_.ends_with("\r\n"))
        out_.append("\r\n");
}

std::size_t RtfTextAssembler::mark()
{
    endPieces();
    return out_.size();
}

}  // namespace leafmill::extract::rtf
