#pragma once

namespace leafmill::extract::rtf {

// The character that the Symbol font draws for a byte (Greek letters,
// mathematical signs, arrows); the byte itself where the glyph has no
// character of its own.
char32_t symbolFontChar(unsigned char byte);

}  // namespace leafmill::extract::rtf
