// Well-formed UTF-8 and UTF-16 surrogates, as every reader takes them.
#include "text/Utf8.h"

#include <gtest/gtest.h>

namespace leafmill {
namespace {

TEST(Utf8, OnlyWellFormedSequencesHaveALength)
{
    const struct {
        std::string_view bytes;
        std::size_t length;
    } cases[] = {
        {"A", 1},
        {"\xC2\x80", 2},
        {"\xC1\xBF", 0},
        {"\xDF\xBF", 2},
        {"\xC2", 0},
        {"\xC2\x41", 0},
        {"\xE0\xA0\x80", 3},
        {"\xE0\x9F\xBF", 0},  // overlong below U+0800
        {"\xED\x9F\xBF", 3},
        {"\xED\xA0\x80", 0},  // surrogates
        {"\xEF\xBF\xBF", 3},
        {"\xE1\x80\x41", 0},
        {"\xE1\x80", 0},
        {"\xF0\x90\x80\x80", 4},
        {"\xF0\x8F\xBF\xBF", 0},  // overlong below U+10000
        {"\xF4\x8F\xBF\xBF", 4},
        {"\xF4\x90\x80\x80", 0},
        {"\xF5\x80\x80\x80", 0},  // past U+10FFFF
        {"\xF1\x80\x80\x41", 0},
        {"\x80", 0},
        {"\xFF", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(validUtf8Length(c.bytes, 0), c.length) << testing::PrintToString(std::string(c.bytes));
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
