#include "text/PageEncoder.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <unicode/ucnv.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>

namespace leafmill {
namespace {

struct Encoded {
    const char* encoding;
    const char* text;
    const char* shown;  // the page bytes read back in the encoding
    std::size_t replaced;
    const char* first;
};

class PageEncoderTest : public ::testing::TestWithParam<Encoded> { };

TEST_P(PageEncoderTest, KeepsWhatTheEncodingHoldsAndReplacesTheRestByItsNearestEquivalent)
{
    const Encoded& c = GetParam();
    std::string error;
    auto encoder = PageEncoder::open(c.encoding, &error);
    ASSERT_TRUE(encoder) << error;
    Replacements replaced;
    const std::string bytes = encoder->encode(c.text, &replaced);
    EXPECT_EQ(encoder->codePage().toUtf8(bytes), c.shown);
    EXPECT_EQ(replaced.count, c.replaced);
    EXPECT_EQ(replaced.first, c.first);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, PageEncoderTest,
    ::testing::Values(Encoded {"Latin-1", "Überall ’quoted’ … • €", "Überall 'quoted' ... * EUR", 5, "’’…•€"},
                      Encoded {"latin-1", "Москва ŝ ﬁ x", "Moskva s fi x", 8, "Москв"},
                      Encoded {"MacRoman", "Überall ’q’ … Ł", "Überall ’q’ … L", 1, "Ł"},
                      Encoded {"GB2312", "中文 한 ü", "中文 han ü", 1, "한"},
                      Encoded {"Big5", "中文 ☃", "中文 ?", 1, "☃"}, Encoded {"Shift_JIS", "日本 é", "日本 e", 1, "é"},
                      Encoded {"EUC-KR", "한국 …", "한국 …", 0, ""},
                      Encoded {"UTF-8", "all ☃ kept", "all ☃ kept", 0, ""},
                      Encoded {"Latin-1", "bad \xff byte", "bad ? byte", 1, "?"}));

// Every character an encoding holds comes back from its page bytes unchanged.
TEST(PageEncoderRepertoireTest, EachEncodingRoundTripsItsRepertoire)
{
    for (const char* name : {"Latin-1", "MacRoman", "GB2312", "Big5", "Shift_JIS", "EUC-KR"}) {
        std::string error;
        auto encoder = PageEncoder::open(name, &error);
        ASSERT_TRUE(encoder) << error;
        UErrorCode status = U_ZERO_ERROR;
        UConverter* converter = ucnv_open(encoder->codePage().name().c_str(), &status);
        icu::UnicodeSet set;
        ucnv_getUnicodeSet(converter, set.toUSet(), UCNV_ROUNDTRIP_SET, &status);
        ucnv_close(converter);
        ASSERT_TRUE(U_SUCCESS(status));
        set.remove(0, 0x1F);
        icu::UnicodeString all;
        for (int32_t i = 0; i < set.size(); ++i)
            all.append(set.charAt(i));
        std::string utf8;
        all.toUTF8String(utf8);
        Replacements replaced;
        const std::string bytes = encoder->encode(utf8, &replaced);
        EXPECT_EQ(replaced.count, 0u) << name << " " << replaced.first;
        EXPECT_EQ(encoder->codePage().toUtf8(bytes), utf8) << name;
        EXPECT_GT(set.size(), 150) << name;
    }
    std::string error;
    EXPECT_FALSE(PageEncoder::open("Klingon", &error));
    EXPECT_NE(error.find("Klingon"), std::string::npos);
}

}  // namespace
}  // namespace leafmill
