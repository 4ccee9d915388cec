#pragma once

#include <cstddef>
#include <string_view>

namespace leafmill::extract::layout {

// The first and the last code point of UTF-8 text; 0 when it is empty or
// ill-formed there.
char32_t firstCodePoint(std::string_view text);
char32_t lastCodePoint(std::string_view text);

std::size_t codePointCount(std::string_view text);

// Scripts written without spaces between words (Chinese, Japanese), and
// their punctuation.
bool isCjk(char32_t c);

// Hebrew, Arabic and the other scripts written from right to left, with their
// presentation forms.
constexpr bool isRightToLeft(char32_t c)
{
    return (c >= 0x0590 && c <= 0x08FF) || (c >= 0xFB1D && c <= 0xFDFF) || (c >= 0xFE70 && c <= 0xFEFF)
        || (c >= 0x10800 && c <= 0x10FFF) || (c >= 0x1E800 && c <= 0x1EFFF);
}

// Whether the text holds a character of such a script, so that most lines
// need no closer look.
bool holdsRightToLeft(std::string_view text);

}  // namespace leafmill::extract::layout
