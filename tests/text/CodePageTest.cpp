#include "text/CodePage.h"

#include <gtest/gtest.h>

namespace leafmill {
namespace {

std::shared_ptr<const CodePage> openOrFail(const char* name)
{
    std::string error;
    auto page = CodePage::open(name, &error);
    EXPECT_TRUE(page) << name << ": " << error;
    return page;
}

TEST(CodePage, RoundTripsTextInEachKindOfCodePage)
{
    struct Case {
        const char* page;
        std::string utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"windows-1252", "caf\xC3\xA9 \xE2\x80\x94 \xE2\x82\xAC", "caf\xE9 \x97 \x80"},
        {"windows-936", "\xE4\xB8\xAD\xE6\x96\x87 ok", "\xD6\xD0\xCE\xC4 ok"},
        {"UTF-8", "\xE4\xB8\xAD\xF0\x9F\x98\x80", "\xE4\xB8\xAD\xF0\x9F\x98\x80"},
    };
    for (const Case& c : cases) {
        auto page = openOrFail(c.page);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->fromUtf8(c.utf8), c.bytes) << c.page;
        EXPECT_EQ(page->toUtf8(c.bytes), c.utf8) << c.page;
    }
}

TEST(CodePage, UnrepresentableCharactersBecomeQuestionMarks)
{
    auto latin = openOrFail("windows-1252");
    EXPECT_EQ(latin->fromUtf8("a\xE4\xB8\xAD"
                              "b"),
              "a?b");
    auto utf8 = openOrFail("UTF-8");
    EXPECT_EQ(utf8->fromUtf8("a\xFF"
                             "b"),
              "a?b");
}

TEST(CodePage, LongTextsConvertWhole)
{
    // Longer than one slice handed to the converter at a time.
    std::string bytes;
    for (int i = 0; i < (1 << 21); ++i)
        bytes += "ab\xD6\xD0\r\n"
                 "xyz";
    auto gbk = openOrFail("windows-936");
    const std::string utf8 = gbk->toUtf8(bytes);
    EXPECT_EQ(utf8.size(), bytes.size() + (1u << 21));
    EXPECT_EQ(gbk->fromUtf8(utf8), bytes);
}

TEST(CodePage, RefusesUnknownAndAsciiIncompatibleCodePages)
{
    std::string error;
    EXPECT_FALSE(CodePage::open("no-such-page", &error));
    EXPECT_NE(error.find("no-such-page"), std::string::npos);
    EXPECT_FALSE(CodePage::open("UTF-16LE", &error));
    EXPECT_NE(error.find("ASCII"), std::string::npos);
}

TEST(CodePage, DoubleByteBoundariesFollowLeadBytes)
{
    auto gbk = openOrFail("windows-936");
    // "a" then two double-byte characters whose trail bytes look like leads.
    const std::string bytes = "a\xD6\xD0\xB0\xA1"
                              "b";
    EXPECT_EQ(gbk->charLength(bytes, 0), 1u);
    EXPECT_EQ(gbk->charLength(bytes, 1), 2u);
    EXPECT_EQ(gbk->boundaryAtOrBefore(bytes, 1), 1u);
    EXPECT_EQ(gbk->boundaryAtOrBefore(bytes, 2), 1u);
    EXPECT_EQ(gbk->boundaryAtOrBefore(bytes, 3), 3u);
    EXPECT_EQ(gbk->boundaryAtOrBefore(bytes, 4), 3u);
    EXPECT_EQ(gbk->boundaryAtOrBefore(bytes, 5), 5u);
    EXPECT_EQ(gbk->boundaryAtOrBefore(bytes, 6), 6u);
    // A trail byte that is ASCII ('@' after a lead) is not a character start.
    const std::string sjisLike = "\x81@x";
    EXPECT_FALSE(gbk->isCharStart(sjisLike, 1));
    EXPECT_TRUE(gbk->isCharStart(sjisLike, 2));
}

TEST(CodePage, Utf8BoundariesSkipContinuationBytes)
{
    auto utf8 = openOrFail("UTF-8");
    const std::string bytes = "a\xE4\xB8\xAD\xF0\x9F\x98\x80z";
    EXPECT_EQ(utf8->boundaryAtOrBefore(bytes, 2), 1u);
    EXPECT_EQ(utf8->boundaryAtOrBefore(bytes, 3), 1u);
    EXPECT_EQ(utf8->boundaryAtOrBefore(bytes, 4), 4u);
    EXPECT_EQ(utf8->boundaryAtOrBefore(bytes, 7), 4u);
    EXPECT_EQ(utf8->boundaryAtOrBefore(bytes, 8), 8u);
    EXPECT_EQ(utf8->charLength(bytes, 4), 4u);
    // A stray continuation byte counts on its own.
    const std::string broken = "a\x80"
                               "b";
    EXPECT_TRUE(utf8->isCharStart(broken, 1));
    EXPECT_EQ(utf8->charLength(broken, 1), 1u);
}

TEST(CodePage, SingleByteAndGenericMultiByteBoundaries)
{
    auto latin = openOrFail("windows-1252");
    EXPECT_TRUE(latin->isSingleByte());
    EXPECT_EQ(latin->boundaryAtOrBefore("abc", 2), 2u);
    // GB18030 has four-byte characters; the generic path walks them.
    auto gb = openOrFail("GB18030");
    const std::string bytes = "a\x81\x30\x81\x30"
                              "b";
    EXPECT_EQ(gb->charLength(bytes, 1), 4u);
    EXPECT_EQ(gb->boundaryAtOrBefore(bytes, 3), 1u);
    EXPECT_EQ(gb->boundaryAtOrBefore(bytes, 5), 5u);
}

TEST(CodePage, SystemNameIsAUsableCodePage)
{
    EXPECT_TRUE(CodePage::open(CodePage::systemName()));
}

}  // namespace
}  // namespace leafmill
