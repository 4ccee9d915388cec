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
    EXPECT_EQ(latin->fromUtf8("a\xE4\xB8\xADz"), "a?z");
    auto utf8 = openOrFail("UTF-8");
    EXPECT_EQ(utf8->fromUtf8("a\xFFz"), "a?z");
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

// Each case: the character start at or before `at`, and the length of the
// character that starts there.
TEST(CodePage, BoundariesFollowTheCharactersOfEachKindOfCodePage)
{
    const struct {
        const char* page;
        std::string bytes;
        std::size_t at, start, length;
    } cases[] = {
        // Two double-byte characters whose trail bytes look like leads.
        {"windows-936", "a\xD6\xD0\xB0\xA1z", 0, 0, 1},
        {"windows-936", "a\xD6\xD0\xB0\xA1z", 2, 1, 2},
        {"windows-936", "a\xD6\xD0\xB0\xA1z", 4, 3, 2},
        {"windows-936", "a\xD6\xD0\xB0\xA1z", 5, 5, 1},
        // A trail byte that is ASCII ('@' after a lead) starts no character.
        {"windows-936", "\x81@x", 1, 0, 2},
        {"windows-936", "\x81@x", 2, 2, 1},
        {"UTF-8", "a\xE4\xB8\xAD\xF0\x9F\x98\x80z", 3, 1, 3},
        {"UTF-8", "a\xE4\xB8\xAD\xF0\x9F\x98\x80z", 7, 4, 4},
        {"UTF-8", "a\xE4\xB8\xAD\xF0\x9F\x98\x80z", 8, 8, 1},
        {"UTF-8", "a\x80z", 1, 1, 1},  // a stray continuation byte counts on its own
        {"windows-1252", "abc", 2, 2, 1},
        // GB18030 has four-byte characters; the generic path walks them.
        {"GB18030", "a\x81\x30\x81\x30z", 3, 1, 4},
        {"GB18030", "a\x81\x30\x81\x30z", 5, 5, 1},
    };
    for (const auto& c : cases) {
        auto page = openOrFail(c.page);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->boundaryAtOrBefore(c.bytes, c.at), c.start) << c.page << " at " << c.at;
        EXPECT_EQ(page->charLength(c.bytes, c.start), c.length) << c.page << " at " << c.start;
        EXPECT_TRUE(page->isCharStart(c.bytes, c.start)) << c.page << " at " << c.start;
        if (c.at != c.start) {
            EXPECT_FALSE(page->isCharStart(c.bytes, c.at)) << c.page << " at " << c.at;
        }
    }
    EXPECT_TRUE(openOrFail("windows-1252")->isSingleByte());
}

}  // namespace
}  // namespace leafmill
