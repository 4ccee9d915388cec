// Hostile and broken pages: each is filtered whole, in time linear in its
// size (a quadratic pass over these would outlast the test's time limit).
#include "HtmlTestSupport.h"

#include <algorithm>
#include <string>

namespace leafmill::extract::test {
namespace {

std::string repeated(std::string_view unit, std::size_t times)
{
    std::string text;
    text.reserve(unit.size() * times);
    for (std::size_t i = 0; i < times; ++i)
        text.append(unit);
    return text;
}

TEST(HtmlFilterRobustness, UnclosedConstructsRepeatedOnOneLine)
{
    constexpr std::size_t kTimes = 200000;
    EXPECT_EQ(textOf(repeated("<p ", kTimes)), "");
    EXPECT_EQ(textOf(repeated("<", kTimes)), "");
    EXPECT_EQ(textOf(repeated("&#", kTimes)), repeated("&#", kTimes) + "\r\n");
    EXPECT_EQ(textOf(repeated("&amp", kTimes)), repeated("&amp", kTimes) + "\r\n");
    EXPECT_EQ(textOf("a" + repeated("<script>x", kTimes)), "a" + repeated("x", kTimes) + "\r\n");
    EXPECT_EQ(textOf("a" + repeated("</script>x", kTimes)), "a" + repeated("x", kTimes) + "\r\n");
    // A comment that never ends hides the rest, whatever '>' it holds.
    EXPECT_EQ(textOf("visible<!--<p>" + repeated("hidden > ", kTimes)), "visible\r\n");
}

TEST(HtmlFilterRobustness, UnclosedBlocksOnManyLines)
{
    // Every line opens a block that never ends: each join stops at the end
    // of the page or the join limit, and the text stays.
    const std::string text = textOf(repeated("<script>code\r\n", 100000));
    EXPECT_EQ(text.find_first_not_of("code\r\n"), std::string::npos);
    EXPECT_EQ(std::count(text.begin(), text.end(), 'c'), 100000);
}

TEST(HtmlFilterRobustness, NoCodePageGivenReadsInTheSystemOne)
{
    const Result result = htmlToText("<b>plain</b> text", Options {});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "plain text\r\n");
}

TEST(HtmlFilterRobustness, UnknownCharsetIsAWarningNotAFailure)
{
    const Result result = convert("<meta charset=\"x-no-such-set\">caf\xE9");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.text, "café\r\n");
    ASSERT_FALSE(result.warnings.empty());
    EXPECT_NE(result.warnings.front().find("x-no-such-set"), std::string::npos);
}

}  // namespace
}  // namespace leafmill::extract::test
