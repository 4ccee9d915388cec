#include "text/Utf8.h"

#include <cstdint>
#include <cstring>

namespace leafmill {

namespace {

// Whether `tail`, no whole sequence, is the start of one: the bytes that
// follow can complete it (continuation bytes low or high in their range).
bool cutShort(std::string_view tail)
{
    for (const char filler : {'\x80', '\xA0'}) {
        std::string padded(tail);
        padded.resize(4, filler);
        if (validUtf8Length(padded, 0) != 0)
            return true;
    }
    return false;
}

}  // namespace

std::size_t validUtf8Length(std::string_view text, std::size_t pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    if (lead < 0x80)
        return 1;
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;  // no overlong forms
        if (lead == 0xED)
            high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (pos + length > text.size() || byte(pos + 1) < low || byte(pos + 1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if ((byte(pos + i) & 0xC0) != 0x80)
            return 0;
    return length;
}

char32_t decodeUtf8(std::string_view text, std::size_t pos, std::size_t length)
{
    static constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t c = static_cast<unsigned char>(text[pos]) & kLeadBits[length];
    for (std::size_t i = 1; i < length; ++i)
        c = (c << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    return c;
}

Utf8Form utf8Form(std::string_view bytes, bool mayBeCut)
{
    bool beyondAscii = false;
    std::size_t i = 0;
    while (i < bytes.size()) {
        // Eight ASCII bytes at a time: most text is mostly ASCII.
        if (bytes.size() - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const std::size_t length = validUtf8Length(bytes, i);
        if (length == 0)
            return mayBeCut && bytes.size() - i < 4 && cutShort(bytes.substr(i)) ? Utf8Form::Utf8 : Utf8Form::NotUtf8;
        beyondAscii = beyondAscii || length > 1;
        i += length;
    }
    return beyondAscii ? Utf8Form::Utf8 : Utf8Form::Ascii;
}

}  // namespace leafmill
