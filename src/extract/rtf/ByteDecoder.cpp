#include "extract/rtf/ByteDecoder.h"

#include "extract/common/RtfCharsets.h"
#include "text/Utf8.h"

#include <unicode/ucnv.h>

namespace leafmill::extract::rtf {

void ByteDecoder::ConverterCloser::operator()(UConverter* c) const
{
    ucnv_close(c);
}

ByteDecoder::~ByteDecoder() = default;

void ByteDecoder::setEntry(unsigned char byte, char32_t c)
{
    std::string utf8;
    appendUtf8(c, utf8);
    Entry& e = table_[byte];
    e.length = static_cast<unsigned char>(utf8.size());
    for (std::size_t i = 0; i < utf8.size(); ++i)
        e.bytes[i] = utf8[i];
}

std::unique_ptr<ByteDecoder> ByteDecoder::open(int codePage)
{
    for (const std::string& name : converterNamesOf(codePage))
        if (auto decoder = openConverter(name))
            return decoder;
    return nullptr;
}

std::unique_ptr<ByteDecoder> ByteDecoder::openConverter(const std::string& name)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* raw = ucnv_open(name.c_str(), &status);
    if (U_FAILURE(status) || !raw)
        return nullptr;
    std::unique_ptr<ByteDecoder> decoder(new ByteDecoder);
    decoder->converter_.reset(raw);
    if (ucnv_getMaxCharSize(raw) > 1)
        return decoder;

    // A single-byte page: tabulate it and let the converter go.
    for (int b = 0; b < 256; ++b) {
        const char in = static_cast<char>(b);
        UChar unit = 0xFFFD;
        UErrorCode st = U_ZERO_ERROR;
        ucnv_reset(raw);
        const int32_t n = ucnv_toUChars(raw, &unit, 1, &in, 1, &st);
        decoder->setEntry(static_cast<unsigned char>(b), U_SUCCESS(st) && n == 1 ? unit : 0xFFFD);
    }
    decoder->converter_.reset();
    decoder->asciiIsIdentity_ = true;
    for (int b = 0; b < 0x80 && decoder->asciiIsIdentity_; ++b)
        decoder->asciiIsIdentity_ = decoder->table_[b].length == 1 && decoder->table_[b].bytes[0] == b;
    return decoder;
}

std::unique_ptr<ByteDecoder> ByteDecoder::forSymbolFont(SymbolFont font)
{
    std::unique_ptr<ByteDecoder> decoder(new ByteDecoder);
    // A glyph without a character of its own: the Symbol font's stays the
    // byte it was, a picture font's becomes a bullet.
    const char32_t unmapped = font == SymbolFont::Symbol ? 0 : U'\u2022';
    for (int b = 0; b < 256; ++b) {
        const char32_t c = symbolFontChar(font, static_cast<char32_t>(b));
        decoder->setEntry(static_cast<unsigned char>(b),
                          c                           ? c
                              : b < 0x20 || !unmapped ? static_cast<char32_t>(b)
                                                      : unmapped);
    }
    return decoder;
}

std::unique_ptr<ByteDecoder> ByteDecoder::forPictographFont()
{
    std::unique_ptr<ByteDecoder> decoder(new ByteDecoder);
    for (int b = 0; b < 256; ++b)
        decoder->setEntry(static_cast<unsigned char>(b), b < 0x20 ? static_cast<char32_t>(b) : U'\u2022');
    return decoder;
}

void ByteDecoder::appendSingleBytes(std::string_view bytes, std::string& out) const
{
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (asciiIsIdentity_) {
            const std::size_t start = i;
            while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80)
                ++i;
            out.append(bytes.data() + start, i - start);
            if (i == bytes.size())
                break;
        }
        appendByte(static_cast<unsigned char>(bytes[i]), out);
        ++i;
    }
}

void ByteDecoder::feed(std::string_view bytes, std::string& out)
{
    if (!converter_)
        appendSingleBytes(bytes, out);
    else
        convert(bytes, false, out);
}

void ByteDecoder::finish(std::string& out)
{
    if (converter_ && running_)
        convert({}, true, out);
}

void ByteDecoder::convert(std::string_view bytes, bool flush, std::string& out)
{
    if (!running_) {
        ucnv_reset(converter_.get());
        running_ = true;
    }
    wide_.resize(1024);
    const char* source = bytes.data();
    const char* const sourceEnd = bytes.data() + bytes.size();
    for (;;) {
        UChar* target = reinterpret_cast<UChar*>(wide_.data());
        UChar* const targetStart = target;
        UErrorCode status = U_ZERO_ERROR;
        ucnv_toUnicode(converter_.get(), &target, targetStart + wide_.size(), &source, sourceEnd, nullptr, flush,
                       &status);
        appendUtf16(std::u16string_view(wide_.data(), static_cast<std::size_t>(target - targetStart)), out);
        if (status != U_BUFFER_OVERFLOW_ERROR)
            break;
    }
    if (flush)
        running_ = false;
}

void appendUtf16(std::u16string_view units, std::string& out)
{
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        // ICU marks broken double-byte characters with SUB in some East Asian pages.
        if (c == 0x1A)
            c = 0xFFFD;
        if (isHighSurrogate(c) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
            c = fromSurrogates(c, units[i + 1]);
            ++i;
        }
        appendUtf8(c, out);
    }
}

}  // namespace leafmill::extract::rtf
