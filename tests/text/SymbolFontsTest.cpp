#include "text/SymbolFonts.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

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

// The reference file lists each glyph with its character's Unicode name, so
// that a reader can check every entry; a code it does not list draws nothing.
TEST(SymbolFonts, EveryCodeGivesTheCharacterOfTheReviewedReference)
{
    std::map<std::pair<std::string, unsigned>, char32_t> reference;
    std::istringstream lines(test::readFile(LEAFMILL_FIXTURES_DIR "/symbol-fonts.tsv"));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string font, code, character;
        if (line.starts_with("#") || !std::getline(fields, font, '\t') || !std::getline(fields, code, '\t')
            || !std::getline(fields, character, '\t'))
            continue;
        reference[{font, std::stoul(code, nullptr, 16)}] = static_cast<char32_t>(std::stoul(character, nullptr, 16));
    }
    ASSERT_GT(reference.size(), 800u);
    for (const char* font : {"Symbol", "Wingdings", "Webdings", "Zapf Dingbats"}) {
        for (unsigned code = 0; code <= 0x100; ++code) {
            const auto listed = reference.find({font, code});
            const char32_t expected = listed == reference.end() ? 0 : listed->second;
            EXPECT_EQ(unsigned(symbolFontChar(symbolFontNamed(font), code)), unsigned(expected))
                << font << std::hex << " code " << code;
            if (code >= 0x20 && code <= 0xFF) {
                EXPECT_EQ(symbolFontChar(symbolFontNamed(font), 0xF000 + code), expected) << "the private-use form";
            }
        }
    }
    EXPECT_EQ(symbolFontChar(SymbolFont::None, 0x53), 0u);
    EXPECT_EQ(symbolFontChar(SymbolFont::Symbol, 0xF100), 0u);
}

}  // namespace
}  // namespace leafmill
