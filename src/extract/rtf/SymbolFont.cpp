#include "extract/rtf/SymbolFont.h"

#include <array>

namespace leafmill::extract::rtf {

namespace {

// clang-format off
// Bytes 0x20..0x7F of the Symbol font.
constexpr std::array<char32_t, 96> lowHalf = {
    U' ', U'!', U'∀', U'#', U'∃', U'%', U'&', U'∋', U'(', U')', U'∗', U'+', U',', U'−', U'.', U'/',
    U'0', U'1', U'2', U'3', U'4', U'5', U'6', U'7', U'8', U'9', U':', U';', U'<', U'=', U'>', U'?',
    U'≅', U'Α', U'Β', U'Χ', U'Δ', U'Ε', U'Φ', U'Γ', U'Η', U'Ι', U'ϑ', U'Κ', U'Λ', U'Μ', U'Ν', U'Ο',
    U'Π', U'Θ', U'Ρ', U'Σ', U'Τ', U'Υ', U'ς', U'Ω', U'Ξ', U'Ψ', U'Ζ', U'[', U'∴', U']', U'⊥', U'_',
    U'‾', U'α', U'β', U'χ', U'δ', U'ε', U'φ', U'γ', U'η', U'ι', U'ϕ', U'κ', U'λ', U'μ', U'ν', U'ο',
    U'π', U'θ', U'ρ', U'σ', U'τ', U'υ', U'ϖ', U'ω', U'ξ', U'ψ', U'ζ', U'{', U'|', U'}', U'∼', U' ',
};

// Bytes 0xA0..0xFF; the pieces of large brackets and integrals become the
// nearest plain sign.
constexpr std::array<char32_t, 96> highHalf = {
    U'€', U'ϒ', U'′', U'≤', U'⁄', U'∞', U'ƒ', U'♣', U'♦', U'♥', U'♠', U'↔', U'←', U'↑', U'→', U'↓',
    U'°', U'±', U'″', U'≥', U'×', U'∝', U'∂', U'•', U'÷', U'≠', U'≡', U'≈', U'…', U'|', U'—', U'↵',
    U'ℵ', U'ℑ', U'ℜ', U'℘', U'⊗', U'⊕', U'∅', U'∩', U'∪', U'⊃', U'⊇', U'⊄', U'⊂', U'⊆', U'∈', U'∉',
    U'∠', U'∇', U'®', U'©', U'™', U'∏', U'√', U'⋅', U'¬', U'∧', U'∨', U'⇔', U'⇐', U'⇑', U'⇒', U'⇓',
    U'◊', U'〈', U'®', U'©', U'™', U'∑', U'(', U'|', U')', U'[', U'|', U']', U'{', U'{', U'}', U'|',
    U' ', U'〉', U'∫', U'⌠', U'|', U'⌡', U')', U'|', U')', U']', U'|', U']', U'}', U'}', U'}', U' ',
};
// clang-format on

}  // namespace

char32_t symbolFontChar(unsigned char byte)
{
    if (byte >= 0x20 && byte < 0x80)
        return lowHalf[byte - 0x20];
    if (byte >= 0xA0)
        return highHalf[byte - 0xA0];
    return byte;
}

}  // namespace leafmill::extract::rtf
