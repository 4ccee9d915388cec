#pragma once

#include <string_view>

namespace leafmill {

// The fonts whose codes are glyph numbers, not characters, and whose glyphs
// Unicode has characters for.
enum class SymbolFont { None, Symbol, Wingdings, Webdings, ZapfDingbats };

// Which of them a font name names: "Symbol", "Wingdings", "Webdings", "Zapf
// Dingbats" (also "ZapfDingbats", "ITC Zapf Dingbats"), ignoring case and
// spaces. "Wingdings 2" and "Wingdings 3" are other fonts.
SymbolFont symbolFontNamed(std::string_view name);

// The character a symbol font draws for a code: a byte 0x20..0xFF, or the
// private-use U+F020..U+F0FF that Word and RTF store such codes as. 0 when
// the glyph has no character or the code is no glyph code.
char32_t symbolFontChar(SymbolFont font, char32_t code);

}  // namespace leafmill
