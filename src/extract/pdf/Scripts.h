#pragma once

#include <cstddef>
#include <string_view>

namespace leafmill::extract::pdf {

// The first and the last code point of UTF-8 text; 0 when it is empty or
// ill-formed there.
char32_t firstCodePoint(std::string_view text);
char32_t lastCodePoint(std::string_view text);

std::size_t codePointCount(std::string_view text);

// Scripts written without spaces between words (Chinese, Japanese), and
// their punctuation.
bool isCjk(char32_t c);

// Whether the text may hold Hebrew, Arabic or another right-to-left script: a
// quick test on the bytes, so that most lines need no closer look.
bool mayHoldRightToLeft(std::string_view text);

}  // namespace leafmill::extract::pdf
