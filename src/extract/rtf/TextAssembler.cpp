#include "extract/rtf/TextAssembler.h"

namespace leafmill::extract::rtf {

namespace {

bool isHighSurrogate(char16_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}

bool isLowSurrogate(char16_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

}  // namespace

void TextAssembler::endPieces()
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

void TextAssembler::switchDecoder(ByteDecoder& decoder)
{
    if (highSurrogate_ || (active_ && active_ != &decoder))
        endPieces();
}

void TextAssembler::appendBytes(std::string_view bytes, ByteDecoder& decoder)
{
    switchDecoder(decoder);
    if (decoder.isSingleByte()) {
        decoder.appendSingleBytes(bytes, out_);
    } else {
        decoder.feed(bytes, out_);
        active_ = &decoder;
    }
}

void TextAssembler::appendByte(unsigned char byte, ByteDecoder& decoder)
{
    if (decoder.isSingleByte() && !active_ && !highSurrogate_) {
        decoder.appendByte(byte, out_);
        return;
    }
    const char c = static_cast<char>(byte);
    appendBytes(std::string_view(&c, 1), decoder);
}

void TextAssembler::appendUtf16Unit(char16_t unit)
{
    if (isLowSurrogate(unit) && highSurrogate_) {
        const char32_t c = 0x10000 + ((static_cast<char32_t>(highSurrogate_) - 0xD800) << 10) + (unit - 0xDC00);
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

void TextAssembler::appendChar(char32_t c)
{
    endPieces();
    appendUtf8(c, out_);
}

void TextAssembler::appendAscii(std::string_view text)
{
    endPieces();
    out_.append(text);
}

void TextAssembler::endLine()
{
    endPieces();
    if (!out_.empty() && !out_.ends_with("\r\n"))
        out_.append("\r\n");
}

std::size_t TextAssembler::mark()
{
    endPieces();
    return out_.size();
}

std::string TextAssembler::take()
{
    endPieces();
    std::string text = std::move(out_);
    out_.clear();
    return text;
}

}  // namespace leafmill::extract::rtf
