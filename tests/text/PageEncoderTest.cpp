#include "text/PageEncoder.h"
#include "text/CodePage.h"

#include "../extract/CaseFile.h"

#include <gtest/gtest.h>

#include <unicode/ucnv.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>

#if __has_include(<iconv.h>)
#include <iconv.h>
#endif

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

#if __has_include(<iconv.h>)
// The cells of Big5 as Unicode's BIG5.TXT lists them; glibc's BIG5 adds ETEN's rows.
bool inBig5Chart(unsigned code)
{
    return (code >= 0xA140 && code <= 0xA3BF) || (code >= 0xA440 && code <= 0xC67E)
        || (code >= 0xC940 && code <= 0xF9D5);
}

// Pages in an Asian encoding hold only bytes of its national standard, as
// glibc's strict tables read them, whatever vendor characters the text had;
// every character of the standard is kept. The vendors' tables give the text.
TEST(PageEncoderRepertoireTest, AsianPagesHoldOnlyTheStandardTables)
{
    const struct {
        const char *name, *vendorTable, *strictTable;
        std::size_t standardCharacters;  // at least
    } cases[] = {
        {"GB2312", "windows-936", "GB2312", 6763 + 682},  // GB 2312-80: hanzi and symbols
        {"Shift_JIS", "cp932", "SJIS", 6879 + 63},  // JIS X 0208 and the half-width katakana
        {"EUC-KR", "windows-949", "EUC-KR", 2350 + 4888},  // KS X 1001: hangul and hanja
        {"Big5", "windows-950", "BIG5", 5401 + 7652},  // frequent and less frequent hanzi
    };
    for (const auto& c : cases) {
        const std::string text = repertoire({c.vendorTable, PageEncoder::converterName(c.name).c_str()});
        const std::size_t characters = icu::UnicodeString::fromUTF8(text).countChar32();
        Replacements replaced;
        std::string bytes = PageEncoder::open(c.name, nullptr)->encode(text, &replaced);
        EXPECT_GE(characters - replaced.count, c.standardCharacters) << c.name;
        iconv_t strict = iconv_open("UTF-8", c.strictTable);
        ASSERT_NE(strict, reinterpret_cast<iconv_t>(-1)) << c.strictTable;
        std::string out(bytes.size() * 4, '\0');
        char* in = bytes.data();
        std::size_t inLeft = bytes.size();
        char* to = out.data();
        std::size_t outLeft = out.size();
        const std::size_t converted = iconv(strict, &in, &inLeft, &to, &outLeft);
        iconv_close(strict);
        EXPECT_TRUE(converted != static_cast<std::size_t>(-1) && inLeft == 0)
            << c.name << ": byte " << bytes.size() - inLeft << " is outside " << c.strictTable;
        for (std::size_t i = 0; std::string_view(c.name) == "Big5" && i + 1 < bytes.size(); ++i)
            if (static_cast<unsigned char>(bytes[i]) >= 0x81) {
                const unsigned code
                    = static_cast<unsigned char>(bytes[i]) << 8 | static_cast<unsigned char>(bytes[i + 1]);
                EXPECT_TRUE(inBig5Chart(code)) << std::hex << code;
                ++i;
            }
    }
}
#endif

}  // namespace
}  // namespace leafmill
