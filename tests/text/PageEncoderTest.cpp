#include "text/PageEncoder.h"
#include "text/CodePage.h"

#include "../extract/CaseFile.h"
#include "StrictTables.h"

#include <gtest/gtest.h>

#include <unicode/ucnv.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>

namespace leafmill {
namespace {

TEST(PageEncoderTest, KeepsWhatTheEncodingHoldsAndReplacesTheRestByItsNearestEquivalent)
{
    for (const auto& c : test::caseFile(LEAFMILL_TEST_DATA "/page-encodings.txt")) {
        std::string error;
        auto encoder = PageEncoder::open(c.at(0), &error);
        ASSERT_TRUE(encoder) << error;
        Replacements replaced;
        const std::string bytes = encoder->encode(c.at(1), &replaced);
        EXPECT_EQ(encoder->codePage().toUtf8(bytes), c.at(2)) << c[0];
        EXPECT_EQ(replaced.count, std::stoul(c.at(3))) << c[0];
        EXPECT_EQ(replaced.first, c.at(4)) << c[0];
    }
}

// The characters the converters round-trip, controls left out, as UTF-8.
std::string repertoire(std::initializer_list<const char*> converterNames)
{
    icu::UnicodeSet set;
    for (const char* name : converterNames) {
        UErrorCode status = U_ZERO_ERROR;
        UConverter* converter = ucnv_open(name, &status);
        icu::UnicodeSet own;
        ucnv_getUnicodeSet(converter, own.toUSet(), UCNV_ROUNDTRIP_SET, &status);
        ucnv_close(converter);
        EXPECT_TRUE(U_SUCCESS(status)) << name;
        set.addAll(own);
    }
    set.remove(0, 0x7F);
    icu::UnicodeString all;
    for (int32_t i = 0; i < set.size(); ++i)
        all.append(set.charAt(i));
    std::string utf8;
    all.toUTF8String(utf8);
    return utf8;
}

// Every character an encoding holds comes back from its page bytes unchanged.
TEST(PageEncoderRepertoireTest, EachEncodingRoundTripsItsRepertoire)
{
    for (const char* name : {"Latin-1", "MacRoman"}) {
        const std::string all = repertoire({PageEncoder::converterName(name).c_str()});
        Replacements replaced;
        const auto encoder = PageEncoder::open(name, nullptr);
        EXPECT_TRUE(encoder->codePage().toUtf8(encoder->encode(all, &replaced)) == all) << name;
        EXPECT_EQ(replaced.count, 0u) << name << " " << replaced.first;
    }
    std::string error;
    EXPECT_FALSE(PageEncoder::open("Klingon", &error));
    EXPECT_NE(error.find("Klingon"), std::string::npos);
}

// Pages in an Asian encoding hold only bytes of its national standard,
// whatever vendor characters the text had, and keep every character of it.
// The vendors' tables give the text.
TEST(PageEncoderRepertoireTest, AsianPagesHoldOnlyTheStandardTables)
{
    const struct {
        const char *name, *vendorTable;
        std::size_t standardCharacters;  // at least
    } cases[] = {
        {"GB2312", "windows-936", 6763 + 682},  // GB 2312-80: hanzi and symbols
        {"Shift_JIS", "cp932", 6879 + 63},  // JIS X 0208 and the half-width katakana
        {"EUC-KR", "windows-949", 2350 + 4888 + 986},  // KS X 1001: hangul, hanja and symbols
        {"Big5", "windows-950", 5401 + 7652},  // frequent and less frequent hanzi
    };
    for (const auto& c : cases) {
        const std::string text = repertoire({c.vendorTable, PageEncoder::converterName(c.name).c_str()});
        const std::size_t characters = icu::UnicodeString::fromUTF8(text).countChar32();
        Replacements replaced;
        const std::string bytes = PageEncoder::open(c.name, nullptr)->encode(text, &replaced);
        EXPECT_GE(characters - replaced.count, c.standardCharacters) << c.name;
        EXPECT_EQ(test::outsideStandardTable(bytes, c.name), "") << c.name;
    }
}

}  // namespace
}  // namespace leafmill
