#pragma once

#include <string>
#include <vector>

namespace leafmill::extract::rtf {

// Windows code page numbers as RTF names them (\ansicpg, \cpg), plus two of
// our own for symbol fonts, whose bytes are glyph numbers, not characters:
// the Symbol font itself, and picture fonts such as Wingdings.
constexpr int symbolCodePage = 42;
constexpr int pictographCodePage = 43;
constexpr int macRomanCodePage = 10000;

// The code page of a font character set (\fcharsetN), or 0 when the set
// names none of its own (the default set, or a number we do not know).
int codePageOfCharset(int charset);

// ICU converter names to try, in order, for a Windows code page number.
std::vector<std::string> converterNamesOf(int codePage);

}  // namespace leafmill::extract::rtf
