// Well-formed UTF-8 and UTF-16 surrogates, as every reader takes them.
#include "text/Utf8.h"

#include "../extract/CaseFile.h"

#include <gtest/gtest.h>

namespace leafmill {
namespace {

TEST(Utf8, OnlyWellFormedSequencesHaveALength)
{
    for (const auto& c : test::caseFile(LEAFMILL_TEST_DATA "/utf8-lengths.txt"))
        EXPECT_EQ(validUtf8Length(c.at(0), 0), std::stoul(c.at(1))) << testing::PrintToString(c[0]);
}

TEST(Utf8, DecodesWhatItWritesAndPairsSurrogates)
{
    for (const char32_t c : {U'\x7F', U'\x80', U'\u07FF', U'\u0800', U'\uFFFD', U'\U00010000', U'\U0010FFFF'}) {
        std::string bytes;
        appendUtf8(c, bytes);
        ASSERT_EQ(validUtf8Length(bytes, 0), bytes.size());
        EXPECT_EQ(decodeUtf8(bytes, 0, bytes.size()), c);
    }
    std::string replaced;
    appendUtf8(0xD800, replaced);
    appendUtf8(0x110000, replaced);
    EXPECT_EQ(replaced, "\uFFFD\uFFFD");
    EXPECT_TRUE(isHighSurrogate(0xD800) && isHighSurrogate(0xDBFF) && !isHighSurrogate(0xDC00));
    EXPECT_TRUE(isLowSurrogate(0xDC00) && isLowSurrogate(0xDFFF) && !isLowSurrogate(0xDBFF) && !isLowSurrogate(0xE000));
    EXPECT_EQ(fromSurrogates(0xD83D, 0xDE00), U'\U0001F600');
    EXPECT_EQ(fromSurrogates(0xDBFF, 0xDFFF), U'\U0010FFFF');
}

}  // namespace
}  // namespace leafmill
