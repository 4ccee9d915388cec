#include "text/PageEncoder.h"
#include "text/CodePage.h"

#include "../extract/CaseFile.h"

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
