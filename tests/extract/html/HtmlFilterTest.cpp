// The line filter: each page and the text it must give.
#include "HtmlTestSupport.h"

#include <algorithm>
#include <string>

namespace leafmill::extract::test {
namespace {

std::string repeated(std::string_view unit, std::size_t times)
{
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text.append(unit);
    return text;
}

constexpr std::size_t kMany = 200000;  // a quadratic pass over this outlasts the test's time limit

struct Filtered {
    std::string page, text;
};

class HtmlFilter : public ::testing::TestWithParam<Filtered> { };

TEST_P(HtmlFilter, GivesTheText)
{
    const std::string text = textOf(GetParam().page), &expected = GetParam().text;
    const std::size_t differ
        = std::mismatch(text.begin(), text.end(), expected.begin(), expected.end()).first - text.begin();
    EXPECT_TRUE(text == expected) << "page " << GetParam().page.substr(0, 80) << "\ngives  " << text.substr(differ, 80)
                                  << "\nnot    " << expected.substr(differ, 80) << "\nafter  " << differ << " bytes";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, HtmlFilter,
    ::testing::Values(Filtered {"", ""},
                      Filtered {"one\r\ntwo\rthree\nfour\n\rfive", "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n"},
                      // Blank lines give nothing, spaces and tabs run together.
                      Filtered {"a\r\n\r\n \r\n   \r\n\t\t\r\n<b></b>\r\n&nbsp;&nbsp;\r\nb", "a\r\nb\r\n"},
                      Filtered {"<html>\n  <body>\n\n    <p>\n      a\n    </p>\n  </body>\n</html>\n",
                                " \r\n\r\n a\r\n"},
                      Filtered {"two  three   four\tand\t \tmix", "two three four and mix\r\n"},
                      Filtered {"one <b> two &nbsp;&nbsp; three", "one two three\r\n"}));

INSTANTIATE_TEST_SUITE_P(
    Blocks, HtmlFilter,
    ::testing::Values(
        Filtered {"x<script type=\"text/javascript\">if (a < b) c();</script>z", "xz\r\n"},
        Filtered {"x<SCRIPT>code</Script>z", "xz\r\n"},
        // A block over several lines joins them, line ends around it too.
        Filtered {"head<script>\r\ncode\r\n</script>tail", "headtail\r\n"},
        Filtered {"<STYLE>\r\nbody {}\r\n</style>text", "text\r\n"},
        Filtered {"before\r\n<script>\r\nvar x = 1;<b>\r\nend", "before\r\nvar x = 1;end\r\n"},
        Filtered {"a<script>one()</script>b<script>two()</script>c<style>p{}</style>d<STYLE>q{}</STYLE>e", "abcde\r\n"},
        Filtered {"a<script>one()</script>b<script>\r\ntwo()\r\n</script>c", "abc\r\n"},
        // A block whose end comes on the line where the other kind opens.
        Filtered {"<style>\r\np{}\r\n</style> <script>\r\nvar leaked = 1;\r\n</script>after", " after\r\n"},
        Filtered {"<script>\r\nf();\r\n</script><style>\r\np{}\r\n</style>after", "after\r\n"},
        Filtered {"<style>p{}</style><script>\r\nvar leaked = 1;\r\n</script>after", "after\r\n"},
        // An end tag before the opening tag doubles nothing.
        Filtered {"x</script>y<script>z", "xyz\r\n"}, Filtered {"x</script>y<script>code</script>z", "xyz\r\n"}));

INSTANTIATE_TEST_SUITE_P(
    Tags, HtmlFilter,
    ::testing::Values(
        Filtered {"<p>Hello&nbsp;&amp;&nbsp;goodbye</p>", "\r\nHello & goodbye\r\n"},
        Filtered {"a<br/>b<br />c<BR clear=all>d<p class=\"x\">e<P\tALIGN=center>f<p/>g<br>h<P>i",
                  "a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\nh\r\ni\r\n"},
        // Not the paragraph end tag, nor other tags that start with the letters.
        Filtered {"a</p>b<param name=x>c<bR>d<brx>e", "a bc\r\nde\r\n"},
        // Runs of breaks give one line break; breaks parted by text stay apart.
        Filtered {"a<BR><br>b<br><p><br>c", "a\r\nb\r\nc\r\n"}, Filtered {"a<br> <br>b", "a\r\n \r\nb\r\n"},
        Filtered {"<html><body><span class=\"t\">Ti</span><b>tle</b></body></html>", "Title\r\n"},
        Filtered {"stray > mark", "stray mark\r\n"},
        // A tag over a line end hides the next line up to its end.
        Filtered {"one <a\r\nhref=\"x\">two", "one \r\ntwo\r\n"},
        Filtered {"<div\r\nclass=\"a\"\r\nid=\"b\">text", "text\r\n"},
        Filtered {"a<!-- <p>hidden</p> if x > y -->b", "ab\r\n"},
        Filtered {"a<!-- x > y\r\n<br> still > hidden\r\n-->b", "a\r\nb\r\n"},
        Filtered {"<!--[if IE]><p>old</p><![endif]-->new", "new\r\n"}, Filtered {"a<!-->b<!--->c<!---->d", "abcd\r\n"},
        Filtered {"<!DOCTYPE html>page", "page\r\n"},
        // Tags between cells, items and blocks part words; inline tags do not.
        Filtered {"<table><tr><td>red</td><td>green</td></tr><tr><th>blue</th></tr></table>", "red green blue\r\n"},
        Filtered {"<ul><li>one</li><li>two</li></ul><div>three</div><h2>four</h2>five", "one two three four five\r\n"},
        Filtered {"<b>bo</b>ld <i>it</i>alic", "bold italic\r\n"},
        Filtered {"a <div> b</div>\r\n<td>c</td>", "a b\r\nc\r\n"}));

INSTANTIATE_TEST_SUITE_P(References, HtmlFilter,
                         ::testing::Values(
                             // Decoded after the tags are gone, and once.
                             Filtered {"Use &lt;b&gt;bold&lt;/b&gt; here", "Use <b>bold</b> here\r\n"},
                             Filtered {"1 &lt; 2 and the rest", "1 < 2 and the rest\r\n"},
                             Filtered {"&amp;lt; is written &amp;amp;lt;", "&lt; is written &amp;lt;\r\n"},
                             Filtered {"&LT;i&GT; &Lt;x&gT; &AMP; &QUOT;q&quot; &NBSP;|", "<i> <x> & \"q\" |\r\n"}));

// Unclosed constructs repeated on one line are filtered whole, in linear time.
INSTANTIATE_TEST_SUITE_P(
    Hostile, HtmlFilter,
    ::testing::Values(Filtered {repeated("<p ", kMany), ""}, Filtered {repeated("<", kMany), ""},
                      Filtered {repeated("&#", kMany), repeated("&#", kMany) + "\r\n"},
                      Filtered {repeated("&amp", kMany), repeated("&amp", kMany) + "\r\n"},
                      Filtered {"a" + repeated("<script>x", kMany), "a" + repeated("x", kMany) + "\r\n"},
                      Filtered {"a" + repeated("</script>x", kMany), "a" + repeated("x", kMany) + "\r\n"},
                      // A comment that never ends hides the rest, whatever '>' it holds.
                      Filtered {"visible<!--<p>" + repeated("hidden > ", kMany), "visible\r\n"}));

TEST(HtmlFilterJoin, StopsPastSixtyFourKilobytes)
{
    auto pageWithBlockOf = [](int lines) {
        return "<script>\r\n" + repeated("code code code code code code code code\r\n", lines) + "</script>after";
    };
    EXPECT_EQ(textOf(pageWithBlockOf(1000)), "after\r\n");  // about 39 KB, removed whole
    const std::string text = textOf(pageWithBlockOf(2000));  // about 78 KB: written as text
    EXPECT_TRUE(text.starts_with("code code")) << text.substr(0, 40);
    EXPECT_TRUE(text.ends_with("\r\nafter\r\n"));
    EXPECT_EQ(text.find("<script"), std::string::npos);
    // Every line opens a block that never ends: each join stops at the limit or the end, and the text stays.
    const std::string unclosed = textOf(repeated("<script>code\r\n", 100000));
    EXPECT_EQ(unclosed.find_first_not_of("code\r\n"), std::string::npos);
    EXPECT_EQ(std::count(unclosed.begin(), unclosed.end(), 'c'), 100000);
}

TEST(HtmlFilterProgress, CountsEachWrittenLineInCodePageBytesPlusTwo)
{
    EXPECT_TRUE(progressOf("").empty());
    // 4 bytes of windows-1252 (8 of UTF-8) and two: 50%; the blank line does not count.
    EXPECT_EQ(progressOf("\xE9\xE9\xE9\xE9\r\n\r\nabcd"), (std::vector<int> {50, 100}));
    // UTF-16 takes 14 bytes for "ab\r\ncd"; in the code page it is 6.
    EXPECT_EQ(progressOf(std::string("\xFF\xFE"
                                     "a\0b\0\r\0\n\0c\0d\0",
                                     14)),
              (std::vector<int> {66, 100}));
    // CR-only line ends count as two bytes each.
    EXPECT_EQ(progressOf("aaaa\rb\rc"), (std::vector<int> {75, 100}));
}

TEST(HtmlFilterLongPages, ConvertWholeWithProgressToTheEnd)
{
    const std::string oneLine = "<html><body><p>" + repeated("word <b>x</b> ", 20000) + "end</p></body></html>";
    EXPECT_EQ(textOf(oneLine), "\r\n" + repeated("word x ", 20000) + "end\r\n");
    // Above 21 MB; nothing here changes length before the count.
    std::string page = repeated("line of text with <i>some</i> tags &amp; an entity\r\n", 420000) + "the last line";
    std::vector<int> reported;
    const Result result = convert(page, "windows-1252", &reported);
    ASSERT_TRUE(result.ok);
    EXPECT_TRUE(result.text.starts_with("line of text with some tags & an entity\r\n"));
    EXPECT_TRUE(result.text.ends_with("\r\nthe last line\r\n"));
    ASSERT_GE(reported.size(), 90u);  // every whole percentage on the way
    EXPECT_EQ(reported.back(), 100);
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
}

TEST(HtmlFilterCharsets, UnknownOneIsAWarningAndNoCodePageMeansTheSystemOne)
{
    const Result result = convert("<meta charset=\"x-no-such-set\">caf\xE9");
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.text, "café\r\n");
    ASSERT_FALSE(result.warnings.empty());
    EXPECT_NE(result.warnings.front().find("x-no-such-set"), std::string::npos);
    EXPECT_EQ(htmlToText("<b>plain</b> text", Options {}).text, "plain text\r\n");
}

}  // namespace
}  // namespace leafmill::extract::test
