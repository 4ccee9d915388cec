#pragma once

#include "text/SymbolFonts.h"

#include <string>
#include <vector>

namespace leafmill::extract {

// Windows code page numbers as RTF names them (\ansicpg, \cpg), plus some of
// our own for symbol fonts, whose bytes are glyph numbers, not characters:
// the symbol character set until the font's name is known (then the Symbol
// font), picture fonts we have no table for, and the picture fonts we have
// one for.
constexpr int symbolCodePage = 42;
constexpr int pictographCodePage = 43;
constexpr int wingdingsCodePage = 44;
constexpr int webdingsCodePage = 45;
constexpr int zapfDingbatsCodePage = 46;
constexpr int macRomanCodePage = 10000;

// The code page of a font character set (\fcharsetN), or 0 when the set
// names none of its own (the default set, or a number we do not know).
int codePageOfCharset(int charset);

// The code page of our own for a symbol font, and back (None for other pages).
int codePageOfSymbolFont(SymbolFont font);
SymbolFont symbolFontOfCodePage(int codePage);

// ICU converter names to try, in order, for a Windows code page number.
std::vector<std::string> converterNamesOf(int codePage);

}  // namespace leafmill::extract
