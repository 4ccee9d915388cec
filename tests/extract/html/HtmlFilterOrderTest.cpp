// The filter's steps in their order, and what that order decides.
#include "HtmlTestSupport.h"

#include <string>

namespace leafmill::extract::test {
namespace {

TEST(HtmlFilterLines, EndAtCrLfCrOrLf)
{
    EXPECT_EQ(textOf("one\r\ntwo\rthree\nfour\n\rfive"), "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n");
    EXPECT_EQ(textOf("last line without end"), "last line without end\r\n");
}

TEST(HtmlFilterLines, BlankLinesProduceNothing)
{
    EXPECT_EQ(textOf("a\r\n\r\n \r\n   \r\n\t\t\r\n<b></b>\r\n&nbsp;&nbsp;\r\nb"), "a\r\nb\r\n");
    EXPECT_EQ(textOf("<html>\n  <body>\n\n    <p>\n      a\n    </p>\n  </body>\n</html>\n"), " \r\n\r\n a\r\n");
}

TEST(HtmlFilterLines, EmptySourceWritesNothingAndReportsNoProgress)
{
    EXPECT_EQ(textOf(""), "");
    EXPECT_TRUE(progressOf("").empty());
}

TEST(HtmlFilterScripts, BlockInsideALineIsRemoved)
{
    EXPECT_EQ(textOf("x<script type=\"text/javascript\">if (a < b) c();</script>z"), "xz\r\n");
    EXPECT_EQ(textOf("x<SCRIPT>code</Script>z"), "xz\r\n");
}

TEST(HtmlFilterScripts, BlockOverSeveralLinesJoinsThemWithoutSeparators)
{
    EXPECT_EQ(textOf("<script>\r\nvar a;\r\nvar b;\r\n</script>tail"), "tail\r\n");
    // The joining removes the line ends around the block as well.
    EXPECT_EQ(textOf("head<script>\r\ncode\r\n</script>tail"), "headtail\r\n");
}

TEST(HtmlFilterScripts, UnclosedBlockLeavesTheJoinedRestAsText)
{
    EXPECT_EQ(textOf("before\r\n<script>\r\nvar x = 1;<b>\r\nend"), "before\r\nvar x = 1;end\r\n");
}

TEST(HtmlFilterScripts, JoiningStopsPastSixtyFourKilobytes)
{
    auto pageWithBlockOf = [](int lines) {
        std::string page = "<script>\r\n";
        for (int i = 0; i < lines; ++i)
            page += "code code code code code code code code\r\n";  // 39 bytes and CR LF
        return page + "</script>after";
    };
    // About 39 KB of code are joined and removed whole.
    EXPECT_EQ(textOf(pageWithBlockOf(1000)), "after\r\n");
    // About 78 KB are too many: the joined lines are written as text.
    const std::string text = textOf(pageWithBlockOf(2000));
    EXPECT_TRUE(text.starts_with("code code")) << text.substr(0, 40);
    EXPECT_TRUE(text.ends_with("\r\nafter\r\n"));
    EXPECT_EQ(text.find("<script"), std::string::npos);
}

TEST(HtmlFilterStyles, BlocksGoLikeScriptBlocks)
{
    EXPECT_EQ(textOf("a<style>p { color: red }</style>b"), "ab\r\n");
    EXPECT_EQ(textOf("<STYLE>\r\nbody {}\r\n</style>text"), "text\r\n");
}

TEST(HtmlFilterBreaks, BreakAndParagraphTagsStartLines)
{
    EXPECT_EQ(textOf("<p>Hello&nbsp;&amp;&nbsp;goodbye</p>"), "\r\nHello & goodbye\r\n");
    EXPECT_EQ(textOf("one<br>two<P>three"), "one\r\ntwo\r\nthree\r\n");
}

TEST(HtmlFilterBreaks, RunsOfBreaksGiveOneLineBreak)
{
    EXPECT_EQ(textOf("a<BR><br>b"), "a\r\nb\r\n");
    EXPECT_EQ(textOf("a<br><p><br>b"), "a\r\nb\r\n");
    // Breaks parted by other text stay apart.
    EXPECT_EQ(textOf("a<br> <br>b"), "a\r\n \r\nb\r\n");
}

TEST(HtmlFilterTags, AreRemovedWithTheirMarks)
{
    EXPECT_EQ(textOf("<html><body><span class=\"t\">Ti</span><b>tle</b></body></html>"), "Title\r\n");
    EXPECT_EQ(textOf("stray > mark"), "stray mark\r\n");
}

TEST(HtmlFilterTags, TagOverALineEndHidesTheNextLineUpToItsEnd)
{
    EXPECT_EQ(textOf("one <a\r\nhref=\"x\">two"), "one \r\ntwo\r\n");
    EXPECT_EQ(textOf("<div\r\nclass=\"a\"\r\nid=\"b\">text"), "text\r\n");
}

TEST(HtmlFilterProgress, CountsEachWrittenLineInCodePageBytesPlusTwo)
{
    // 12 bytes: the first line is 4 bytes of windows-1252 (8 of UTF-8), so
    // (4 + 2) * 100 / 12 = 50; the blank line does not count; the last line
    // brings the count to 12.
    EXPECT_EQ(progressOf("\xE9\xE9\xE9\xE9\r\n\r\nabcd"), (std::vector<int> {50, 100}));
}

TEST(HtmlFilterProgress, IsAShareOfTheTextInTheCodePageWhateverTheSourceSet)
{
    // UTF-16 takes 14 bytes for "ab\r\ncd"; in the code page it is 6.
    EXPECT_EQ(progressOf(std::string("\xFF\xFE"
                                     "a\0b\0\r\0\n\0c\0d\0",
                                     14)),
              (std::vector<int> {66, 100}));
}

TEST(HtmlFilterProgress, StaysWithinAHundredWhenLineEndsAreShort)
{
    // CR-only line ends are counted as two bytes each.
    EXPECT_EQ(progressOf("aaaa\rb\rc"), (std::vector<int> {75, 100}));
}

}  // namespace
}  // namespace leafmill::extract::test
