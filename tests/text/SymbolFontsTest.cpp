// The symbol fonts' tables: one character per glyph, as the fonts draw them.
#include "text/SymbolFonts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

namespace leafmill {
namespace {

TEST(SymbolFonts, NamesAreTakenWhateverTheirCaseAndSpaces)
{
    const std::pair<const char*, SymbolFont> names[] = {
        {"Symbol", SymbolFont::Symbol},
        {"WINGDINGS", SymbolFont::Wingdings},
        {"Webdings", SymbolFont::Webdings},
        {"Zapf Dingbats", SymbolFont::ZapfDingbats},
        {"ZapfDingbats", SymbolFont::ZapfDingbats},
        {"ITC Zapf Dingbats", SymbolFont::ZapfDingbats},
        {"Wingdings 2", SymbolFont::None},
        {"Times New Roman", SymbolFont::None},
    };
    for (const auto& [name, font] : names)
        EXPECT_EQ(symbolFontNamed(name), font) << name;
}

// Different glyphs are different characters: a code that gives another
// code's character is a slip in a table. Symbol's pieces of large brackets
// (BD, E6-FE) and its second, sans-serif (R), (C) and TM (E2-E4) are the
// exceptions.
TEST(SymbolFonts, EveryGlyphHasItsOwnCharacter)
{
    const struct {
        SymbolFont font;
        char32_t first, last;
        std::vector<char32_t> shared;  // codes whose character another code also gives
        char32_t sample, drawn;
    } fonts[] = {
        {SymbolFont::Symbol, 0x21, 0xE5, {0x7F, 0xBD, 0xE2, 0xE3, 0xE4}, 0x53, U'\u03A3'},
        {SymbolFont::Wingdings, 0x21, 0xFF, {0xA7}, 0xFC, U'\u2714'},
        {SymbolFont::Webdings, 0x21, 0xFF, {}, 0x21, U'\U0001F577'},
        {SymbolFont::ZapfDingbats, 0x21, 0xFE, {}, 0x33, U'\u2713'},
    };
    for (const auto& f : fonts) {
        std::map<char32_t, unsigned> codeOf;
        for (char32_t code = f.first; code <= f.last; ++code) {
            const char32_t c = symbolFontChar(f.font, code);
            if (c == 0 || std::find(f.shared.begin(), f.shared.end(), code) != f.shared.end())
                continue;
            const auto [at, fresh] = codeOf.emplace(c, unsigned(code));
            EXPECT_TRUE(fresh) << std::hex << "codes " << at->second << " and " << unsigned(code) << " of font "
                               << int(f.font) << " both give U+" << unsigned(c);
        }
        EXPECT_EQ(symbolFontChar(f.font, f.sample), f.drawn);
        EXPECT_EQ(symbolFontChar(f.font, 0xF000 + f.sample), f.drawn) << "the private-use form";
    }
    EXPECT_EQ(symbolFontChar(SymbolFont::None, 0x53), 0u);
    EXPECT_EQ(symbolFontChar(SymbolFont::Symbol, 0x1F), 0u);
    EXPECT_EQ(symbolFontChar(SymbolFont::Symbol, 0xF100), 0u);
}

}  // namespace
}  // namespace leafmill
