// Where the filter departs from the plain line filter so that no text is
// lost, doubled or run together.
#include "HtmlTestSupport.h"

#include <string>

namespace leafmill::extract::test {
namespace {

std::string words(int count, std::string_view separator)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "word" + std::to_string(i) + std::string(separator);
    return text;
}

TEST(HtmlFilterMends, OneLinePageLongerThan32KConvertsWhole)
{
    const std::string page = "<html><body><p>" + words(20000, " <b>x</b> ") + "</p></body></html>";
    ASSERT_GT(page.size(), 200000u);
    const std::string text = textOf(page);
    EXPECT_NE(text.find("word0 x word1"), std::string::npos);
    EXPECT_NE(text.find("word19999 x"), std::string::npos);
    EXPECT_EQ(text.find('<'), std::string::npos);
}

TEST(HtmlFilterMends, PageAbove21MegabytesConvertsWholeWithProgressToTheEnd)
{
    std::string page;
    // Nothing here changes length before the count, so the count meets the
    // source length at the end.
    const std::string line = "line of text with <i>some</i> tags &amp; an entity\r\n";
    while (page.size() < 22'000'000)
        page += line;
    page += "the last line";
    std::vector<int> reported;
    const Result result = convert(page, "windows-1252", &reported);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.text.starts_with("line of text with some tags & an entity\r\n"));
    EXPECT_TRUE(result.text.ends_with("\r\nthe last line\r\n"));
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.back(), 100);
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
    EXPECT_GE(reported.size(), 90u);  // every whole percentage on the way
}

TEST(HtmlFilterMends, EveryScriptAndStyleBlockOfALineIsRemoved)
{
    EXPECT_EQ(textOf("a<script>one()</script>b<script>two()</script>c<style>p{}</style>d<STYLE>q{}</STYLE>e"),
              "abcde\r\n");
    EXPECT_EQ(textOf("a<script>one()</script>b<script>\r\ntwo()\r\n</script>c"), "abc\r\n");
    // A block whose end comes on the line where the other kind opens.
    EXPECT_EQ(textOf("<style>\r\np{}\r\n</style> <script>\r\nvar leaked = 1;\r\n</script>after"), " after\r\n");
    EXPECT_EQ(textOf("<script>\r\nf();\r\n</script><style>\r\np{}\r\n</style>after"), "after\r\n");
    EXPECT_EQ(textOf("<style>p{}</style><script>\r\nvar leaked = 1;\r\n</script>after"), "after\r\n");
}

TEST(HtmlFilterMends, EndTagBeforeTheOpeningTagDuplicatesNothing)
{
    EXPECT_EQ(textOf("x</script>y<script>z"), "xyz\r\n");
    EXPECT_EQ(textOf("x</script>y<script>code</script>z"), "xyz\r\n");
}

TEST(HtmlFilterMends, ReferencesAreDecodedAfterTagRemovalAndOnce)
{
    EXPECT_EQ(textOf("Use &lt;b&gt;bold&lt;/b&gt; here"), "Use <b>bold</b> here\r\n");
    EXPECT_EQ(textOf("1 &lt; 2 and the rest"), "1 < 2 and the rest\r\n");
    EXPECT_EQ(textOf("&amp;lt; is written &amp;amp;lt;"), "&lt; is written &amp;lt;\r\n");
    EXPECT_EQ(textOf("&LT;i&GT; &Lt;x&gT; &AMP; &QUOT;q&quot; &NBSP;|"), "<i> <x> & \"q\" |\r\n");
}

TEST(HtmlFilterMends, RunsOfSpacesAndTabsBecomeOneSpace)
{
    EXPECT_EQ(textOf("two  three   four    five"), "two three four five\r\n");
    EXPECT_EQ(textOf("tab\tand\t \tmix"), "tab and mix\r\n");
    // Spaces left side by side by removed tags or decoded &nbsp; as well.
    EXPECT_EQ(textOf("one <b> two &nbsp;&nbsp; three"), "one two three\r\n");
}

TEST(HtmlFilterMends, BreakAndParagraphTagsInAnyFormBreakLines)
{
    EXPECT_EQ(textOf("a<br/>b<br />c<BR clear=all>d<p class=\"x\">e<P\tALIGN=center>f<p/>g"),
              "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n");
    // Not the paragraph end tag, nor other tags that start with the letters.
    EXPECT_EQ(textOf("a</p>b<param name=x>c<bR>d<brx>e"), "a bc\r\nde\r\n");
}

TEST(HtmlFilterMends, CommentsHideEverythingUpToTheirEnd)
{
    EXPECT_EQ(textOf("a<!-- <p>hidden</p> if x > y -->b"), "ab\r\n");
    EXPECT_EQ(textOf("a<!-- x > y\r\n<br> still > hidden\r\n-->b"), "a\r\nb\r\n");
    EXPECT_EQ(textOf("<!--[if IE]><p>old</p><![endif]-->new"), "new\r\n");
    EXPECT_EQ(textOf("a<!-->b<!--->c<!---->d"), "abcd\r\n");
    EXPECT_EQ(textOf("<!DOCTYPE html>page"), "page\r\n");
}

TEST(HtmlFilterMends, TagsBetweenCellsItemsAndBlocksPartWords)
{
    EXPECT_EQ(textOf("<table><tr><td>red</td><td>green</td></tr><tr><th>blue</th></tr></table>"), "red green blue\r\n");
    EXPECT_EQ(textOf("<ul><li>one</li><li>two</li></ul><div>three</div><h2>four</h2>five"),
              "one two three four five\r\n");
    // Inline tags part nothing, and no space is added where one is.
    EXPECT_EQ(textOf("<b>bo</b>ld <i>it</i>alic"), "bold italic\r\n");
    EXPECT_EQ(textOf("a <div> b</div>\r\n<td>c</td>"), "a b\r\nc\r\n");
}

}  // namespace
}  // namespace leafmill::extract::test
