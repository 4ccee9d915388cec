#include "text/CodePage.h"

#include "../extract/CaseFile.h"

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

// What a code page cannot hold becomes '?', which reads back as itself.
TEST(CodePage, RoundTripsTextInEachKindOfCodePage)
{
    const struct {
        const char* page;
        std::string utf8, bytes;
        bool lossy;
    } cases[] = {
        {"windows-1252", "caf\xC3\xA9 \xE2\x80\x94 \xE2\x82\xAC", "caf\xE9 \x97 \x80", false},
        {"windows-936", "\xE4\xB8\xAD\xE6\x96\x87 ok", "\xD6\xD0\xCE\xC4 ok", false},
        {"UTF-8", "\xE4\xB8\xAD\xF0\x9F\x98\x80", "\xE4\xB8\xAD\xF0\x9F\x98\x80", false},
        {"windows-1252", "a\xE4\xB8\xADz", "a?z", true},
        {"UTF-8", "a\xFFz", "a?z", true},
    };
    for (const auto& c : cases) {
        auto page = openOrFail(c.page);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->fromUtf8(c.utf8), c.bytes) << c.page;
        EXPECT_EQ(page->toUtf8(c.bytes), c.lossy ? c.bytes : c.utf8) << c.page;
    }
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

TEST(CodePage, BoundariesFollowTheCharactersOfEachKindOfCodePage)
{
    for (const auto& c : test::caseFile(LEAFMILL_TEST_DATA "/boundaries.txt")) {
        auto page = openOrFail(c.at(0).c_str());
        ASSERT_TRUE(page);
        const std::string& bytes = c.at(1);
        const std::size_t at = std::stoul(c.at(2)), start = std::stoul(c.at(3)), length = std::stoul(c.at(4));
        EXPECT_EQ(page->boundaryAtOrBefore(bytes, at), start) << c[0] << " at " << at;
        EXPECT_EQ(page->charLength(bytes, start), length) << c[0] << " at " << start;
        EXPECT_TRUE(page->isCharStart(bytes, start)) << c[0] << " at " << start;
        EXPECT_TRUE(at == start || !page->isCharStart(bytes, at)) << c[0] << " at " << at;
    }
    EXPECT_TRUE(openOrFail("windows-1252")->isSingleByte());
}

}  // namespace
}  // namespace leafmill
