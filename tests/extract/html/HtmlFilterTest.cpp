// The line filter: each page (filter.txt and a few built here) and the text it must give.
#include "../CaseFile.h"
#include "CaseName.h"
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
constexpr leafmill::test::NamedByContent<&Filtered::page, &Filtered::text> kNamed;

TEST_P(HtmlFilter, GivesTheText)
{
    const std::string text = textOf(GetParam().page), &expected = GetParam().text;
    const std::size_t differ
        = std::mismatch(text.begin(), text.end(), expected.begin(), expected.end()).first - text.begin();
    EXPECT_TRUE(text == expected) << "page " << GetParam().page.substr(0, 80) << "\ngives  " << text.substr(differ, 80)
                                  << "\nnot    " << expected.substr(differ, 80) << "\nafter  " << differ << " bytes";
}

std::vector<Filtered> filterCases()
{
    std::vector<Filtered> cases;
    for (const auto& fields : leafmill::test::caseFile(std::filesystem::path(LEAFMILL_TEST_DATA) / "filter.txt"))
        cases.push_back({fields.at(0), fields.at(1)});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Pages, HtmlFilter, ::testing::ValuesIn(filterCases()), kNamed);

// Unclosed constructs repeated on one line are filtered whole, in linear time.
INSTANTIATE_TEST_SUITE_P(
    Hostile, HtmlFilter,
    ::testing::Values(Filtered {repeated("<p ", kMany), ""}, Filtered {repeated("<", kMany), ""},
                      Filtered {repeated("&#", kMany), repeated("&#", kMany) + "\r\n"},
                      Filtered {repeated("&amp", kMany), repeated("&amp", kMany) + "\r\n"},
                      Filtered {"a" + repeated("<script>x", kMany), "a" + repeated("x", kMany) + "\r\n"},
                      Filtered {"a" + repeated("</script>x", kMany), "a" + repeated("x", kMany) + "\r\n"},
                      Filtered {"a" + repeated("<script>x</script>y", kMany), "a" + repeated("y", kMany) + "\r\n"},
                      // A comment that never ends hides the rest, whatever '>' it holds.
                      Filtered {"visible<!--<p>" + repeated("hidden > ", kMany), "visible\r\n"}),
    kNamed);

// A long line is filtered in segments cut after a '>': however small, they
// give the text of the whole line.
class HtmlFilterSegments : public HtmlFilter { };

TEST_P(HtmlFilterSegments, GiveTheTextOfTheWholeLine)
{
    const auto& [page, expected] = GetParam();
    EXPECT_EQ(textOf(page), expected);
    for (const std::size_t pieceSize : {1, 2, 7, 64})
        EXPECT_EQ(convertInPieces(page, pieceSize).text, expected) << "in pieces of " << pieceSize;
}

INSTANTIATE_TEST_SUITE_P(Pages, HtmlFilterSegments, ::testing::ValuesIn(filterCases()), kNamed);
INSTANTIATE_TEST_SUITE_P(
    Cuts, HtmlFilterSegments,
    ::testing::Values(
        Filtered {"<td>red</td><td>green</td><li>one</li><li>two</li>", "red green one two\r\n"},
        Filtered {"a&amp<b></b>;b&#<i></i>65; c&amp>d; <b>x</b> &lt;p&gt; &amp;", "a&bA c&ampd; x <p> &\r\n"},
        Filtered {"&#0<b>00</b><i>0</i>6<b>6</b>; &a<b>m</b>p<i>x</i>", "B &ampx\r\n"},
        Filtered {"x<script>if (a><b) c='<p><i>';</script><i>y</i>", "xy\r\n"},
        Filtered {"a<script>x<b>y</b>\r\nz</script><b>c</b>", "ac\r\n"},
        Filtered {"<b>a</b><br><br><p><i>b</i>", "a\r\nb\r\n"},
        Filtered {"<b>a </b><i> b</i><b></b><i>  </i><b> c</b>", "a b c\r\n"},
        Filtered {"<b></b><i></i>\r\n<b> </b><i></i>\r\n<b> </b><i>x</i>", " x\r\n"},
        Filtered {"a<!--<b>x</b><i>-->b<!--><b>c</b>", "abc\r\n"},
        // A last segment left blank by its blocks still ends the line.
        Filtered {"<b>a</b><script>x</script><script>y</script>  \r\nb", "a \r\nb\r\n"},
        // Only whole lines are joined in search of a block's end, and
        // only while the whole line's text stays within the limit.
        Filtered {"a<script>" + repeated("x><y", 20000) + "</script>b", "ab\r\n"},
        Filtered {repeated("<b>a</b>", 10000) + "<script>s\r\n</script>t", repeated("a", 10000) + "s\r\nt\r\n"}),
    kNamed);

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
    const auto progressOf = [](std::string_view page) {
        std::vector<int> reported;
        convert(page, "windows-1252", &reported);
        return reported;
    };
    EXPECT_TRUE(progressOf("").empty());
    // 4 bytes of windows-1252 (8 of UTF-8) and two: 50%; the blank line does not count.
    EXPECT_EQ(progressOf("\xE9\xE9\xE9\xE9\r\n\r\nabcd"), (std::vector<int> {50, 100}));
    // UTF-16 takes 14 bytes for "ab\r\ncd"; in the code page it is 6.
    EXPECT_EQ(progressOf(std::string("\xFF\xFE\x61\0b\0\r\0\n\0c\0d\0", 14)), (std::vector<int> {66, 100}));
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
    EXPECT_TRUE(result.text.starts_with("line of text with some tags & an entity\r\n"));
    EXPECT_TRUE(result.text.ends_with("\r\nthe last line\r\n"));
    ASSERT_GE(reported.size(), 90u);  // every whole percentage on the way
    EXPECT_EQ(reported.back(), 100);
    EXPECT_TRUE(std::is_sorted(reported.begin(), reported.end()));
}

// The page's warnings reach the result; no code page at all means the system one.
TEST(HtmlFilterCharsets, UnknownOneIsAWarningAndNoCodePageMeansTheSystemOne)
{
    const Result result = convert("<meta charset=\"x-no-such-set\">caf\xE9");
    EXPECT_EQ(result.text, "café\r\n");
    ASSERT_FALSE(result.warnings.empty());
    EXPECT_NE(result.warnings[0].find("x-no-such-set"), std::string::npos);
    EXPECT_EQ(htmlToText("<b>plain</b> text", Options {}).text, "plain text\r\n");
    // Whether the bytes are UTF-8 is told from all of them, however long a run without ASCII.
    const std::string euros = repeated("\xE2\x82\xAC", 3000000);
    EXPECT_TRUE(textOf("<meta charset=windows-1252>" + euros) == euros + "\r\n");
}

// Titles, levels and the text from each chapter's start.
std::string chaptersOf(const Result& result)
{
    std::string found;
    for (const Chapter& chapter : result.chapters)
        found += chapter.title + " " + std::to_string(chapter.level) + ": " + result.text.substr(chapter.offset) + "|";
    return found;
}

TEST(HtmlFilterHeadings, HeadingsOfTheFirstThreeLevelsAreChapters)
{
    const Result result = convert("<h1>One</h1>text<h4>Four</h4><br>lead <h2>Two</h2><h1x>no</h1x>");
    // A chapter starts with the line its heading is on.
    EXPECT_EQ(chaptersOf(result), "One 1: One text Four\r\nlead Two no\r\n|Two 2: lead Two no\r\n|");
    // Words of tags and references; a heading the text lacks (in a comment) is left out, and each is looked
    // for after the one before, however far.
    const std::string far(300000, 'x');
    EXPECT_EQ(chaptersOf(convert("<H2 class=t>Caf&eacute; <i>Noir</i></H2>\n<!--<h3>Gone</h3>-->" + far
                                 + "\n<h3>Caf&eacute; Noir</h3>\nend")),
              "Café Noir 2: Café Noir\r\n" + far + "\r\nCafé Noir\r\nend\r\n|Café Noir 3: Café Noir\r\nend\r\n|");
    // An opening tag that never ends stops the search.
    EXPECT_EQ(chaptersOf(convert("<h1>A</h1>\n<h2>B\n<h1>C</h1>")), "A 1: A\r\nB\r\nC\r\n|");
}

}  // namespace
}  // namespace leafmill::extract::test
