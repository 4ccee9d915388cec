#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace leafmill {

// Appends the UTF-8 form of code point `c` to `out`; a surrogate or a value
// past U+10FFFF becomes U+FFFD.
inline void appendUtf8(char32_t c, std::string& out)
{
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        c = 0xFFFD;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Length of the well-formed UTF-8 sequence at text[pos] (1 for ASCII), or 0
// when the bytes there do not form one: overlong forms, surrogates, values
// past U+10FFFF and sequences cut short included.
std::size_t validUtf8Length(std::string_view text, std::size_t pos);

// The code point of the well-formed sequence of `length` bytes at text[pos].
char32_t decodeUtf8(std::string_view text, std::size_t pos, std::size_t length);

// Whether bytes are plain ASCII, UTF-8 with characters beyond ASCII, or no
// UTF-8. With `mayBeCut` a sequence cut short at the very end counts as
// UTF-8 (the first bytes of a longer text).
enum class Utf8Form { Ascii, Utf8, NotUtf8 };
Utf8Form utf8Form(std::string_view bytes, bool mayBeCut = false);

constexpr bool isHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

constexpr bool isLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The code point a UTF-16 surrogate pair stands for.
constexpr char32_t fromSurrogates(char32_t high, char32_t low)
{
    return 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00);
}

}  // namespace leafmill
