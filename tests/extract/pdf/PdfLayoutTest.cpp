#include "extract/layout/OutlineChapters.h"
#include "extract/layout/PageLines.h"
#include "extract/layout/PagedText.h"
#include "extract/layout/Paragraphs.h"
#include "extract/layout/RunningLines.h"
#include "extract/pdf/PdfToText.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

using namespace leafmill::extract::layout;

namespace {

constexpr double full = 350;  // where a full line of the column ends

// A printed line at `top`, six points a character, twelve points high.
Line at(const std::string& text, double top, double left = 50, double right = -1, double height = 12)
{
    const std::size_t word = text.find(' ');
    const double width = 6.0 * (word == std::string::npos ? text.size() : word);
    return Line {text, left, top, right < 0 ? left + 6.0 * text.size() : right, top + height, width, 0, false};
}

// The same read from the right: its first word is the rightmost.
Line rightToLeft(const std::string& text, double top, double left, double right = full)
{
    Line line = at(text, top, left, right);
    line.rightToLeft = true;
    return line;
}

}  // namespace

struct JoinCase {
    const char* name;
    std::vector<std::vector<Line>> pages;
    std::string expected;
};

class PdfParagraphs : public testing::TestWithParam<JoinCase> { };

TEST_P(PdfParagraphs, JoinLinesAsPrinted)
{
    EXPECT_EQ(joinParagraphs(GetParam().pages), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PdfParagraphs,
    testing::Values(
        JoinCase {"FullLinesRunOnShortOneEnds",
                  {{at("one two", 0, 50, full), at("three", 13), at("four", 26, 50, full), at("five", 39)}},
                  "one two three\r\nfour five\r\n"},
        JoinCase {"BrokenWordJoinedCompoundKeepsHyphen",
                  {{at("a tempe-", 0, 50, full), at("rature of Anglo-", 13, 50, full), at("Saxon end", 26)}},
                  "a temperature of Anglo-Saxon end\r\n"},
        JoinCase {"SoftHyphenBreaksAndVanishes",
                  {{at("mud\xC2\xAD", 0, 50, full), at("flats and in\xC2\xADside", 13)}},
                  "mudflats and inside\r\n"},
        JoinCase {"WideGapIndentAndSizeEndParagraphs",
                  {{at("a", 0, 50, full), at("b", 13, 50, full), at("c", 34, 50, full), at("d", 47, 90, full),
                    at("e", 60, 50, full, 18)}},
                  "a b\r\nc\r\nd\r\ne\r\n"},
        JoinCase {"ShortByLessThanTheNextWordRunsOn",
                  {{at("x", 0, 50, full - 20), at("longword y", 13, 50, full), at("z", 26)}},
                  "x longword y z\r\n"},
        JoinCase {"ChineseLinesJoinWithoutSpace",
                  {{at("\xE6\xB0\xB4\xE8\xB4\xA8", 0, 50, full), at("\xE8\xB0\x83\xE6\x9F\xA5", 13)}},
                  "\xE6\xB0\xB4\xE8\xB4\xA8\xE8\xB0\x83\xE6\x9F\xA5\r\n"},
        JoinCase {"ParagraphRunsOnAcrossColumnAndPage",
                  {{at("p", 100, 50, 190), at("q", 113, 50, 190), at("r", 0, 210, 350), at("s", 13, 210, 300)},
                   {at("t", 0, 50, full), at("u", 13)}},
                  "p q r s\r\nt u\r\n"},
        JoinCase {
            "OneLineColumnDoesNotRunOn", {{at("head", 100, 50, 190), at("next", 0, 210, 350)}}, "head\r\nnext\r\n"},
        // Right-to-left lines end at the right edge: a short one ends its
        // paragraph on the left, one that stops short on the right is indented.
        JoinCase {"RightToLeftMeasuredFromTheRight",
                  {{rightToLeft("a b", 0, 50), rightToLeft("c", 13, 200), rightToLeft("d e", 26, 50),
                    rightToLeft("f", 39, 50, 300), rightToLeft("g h", 52, 50)}},
                  "a b c\r\nd e\r\nf g h\r\n"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(PdfLines, WordsGroupByBandAndDirection)
{
    const std::vector<Word> words = {
        {"one", 0, 0, 18, 12, true, 0},   {"two", 22, 1, 40, 12, false, 0}, {"x", 40, -4, 46, 6, false, 0},
        {"next", 0, 14, 24, 26, true, 0}, {"up", 30, 0, 40, 10, false, 1},  {"back", 10, 14, 30, 26, false, 0},
        {"", 40, 14, 40, 26, false, 0},
    };
    const std::vector<Line> lines = groupIntoLines(words);
    ASSERT_EQ(lines.size(), 4U);
    EXPECT_EQ(lines[0].text, "one twox");
    EXPECT_EQ(lines[0].firstWordWidth, 18);
    EXPECT_EQ(lines[0].top, -4);
    EXPECT_EQ(lines[1].text, "next");
    EXPECT_EQ(lines[2].text, "up");
    EXPECT_EQ(lines[3].text, "back");
}

TEST(PdfRunningLines, HeadersAndCountingNumbersGoChapterHeadingsStay)
{
    std::vector<std::vector<Line>> pages;
    for (int p = 0; p < 6; ++p) {
        std::vector<Line> lines
            = {at("Field   Report", 0), at("Chapter " + std::to_string(p / 2 + 1), 20),
               at(std::string("body ") + char('a' + p), 40), at(std::string("more ") + char('a' + p), 60)};
        if (p != 0)  // the title page has no number
            lines.push_back(at("- " + std::to_string(p + 7) + " -", 80));
        pages.push_back(lines);
    }
    pages.push_back({});  // a scanned page neither counts nor breaks
    removeRunningLines(pages);
    for (int p = 0; p < 6; ++p) {
        ASSERT_EQ(pages[p].size(), 3U) << p;
        EXPECT_EQ(pages[p][0].text, "Chapter " + std::to_string(p / 2 + 1));
        EXPECT_EQ(pages[p][2].text, std::string("more ") + char('a' + p));
    }
}

TEST(PdfRunningLines, NeedMostOfThreePagesAndLeaveAPagesOnlyText)
{
    std::vector<std::vector<Line>> one = {{at("Alone", 0), at("text", 20)}};
    removeRunningLines(one);
    EXPECT_EQ(one[0].size(), 2U);
    // Two pages alike are the text itself.
    std::vector<std::vector<Line>> two(2, {at("Same words", 0), at("again", 20)});
    removeRunningLines(two);
    EXPECT_EQ(two[1].size(), 2U);
    std::vector<std::vector<Line>> five;
    for (int p = 0; p < 5; ++p)
        five.push_back({at(p < 3 ? "Rare" : "x" + std::to_string(p), 0), at("y", 20), at("z", 40), at("w", 60),
                        at(p == 4 ? "v" : "u", 80)});
    five.push_back({at("y", 0)});
    removeRunningLines(five);
    EXPECT_EQ(five[0][0].text, "Rare");
    // y and w come back on every page, u on most; Rare on half is no running
    // line, nor is z, no edge line, or v, once.
    ASSERT_EQ(five[0].size(), 2U);
    EXPECT_EQ(five[0][1].text, "z");
    EXPECT_EQ(five[4].back().text, "v");
    EXPECT_EQ(five[5].size(), 1U) << "a page's only line stays";
}

// Words the library leaves on lines of their own are parted by their gap:
// a blank past a tenth of the type size, a TAB past a word space's widest.
TEST(PdfLines, WordsSetApartWithoutASpaceArePartedByTheirGap)
{
    const auto word = [](std::string text, double left, double right, double top = 0) {
        return Word {std::move(text), left, top, right, top + 10, false, 0, 10};
    };
    const std::vector<Line> lines = groupIntoLines({
        word("1", 0, 5),
        word("Foo", 16, 30),
        word("Bold", 0, 20, 20),
        word("face", 20.5, 40, 20),
        word("Population", 0, 50, 40),
        word("Area", 70, 90, 40),
        word("水质调查", 0, 40, 60),
        // LaTeX's logo: a raised A kerned back under the L, then a step back
        // to the line's start; as far back after a word, a step back.
        word("L", 0, 7, 80),
        Word {"A", 2.5, 80, 9.2, 86.2, false, 0, 7},
        word("TEX", 8.6, 30, 80),
        word("again", 1, 20, 80),
        word("Lo", 0, 7, 100),
        word("x", 2.5, 9, 100),
    });
    ASSERT_EQ(lines.size(), 8U);
    EXPECT_EQ(lines[0].text, "1 Foo");
    EXPECT_EQ(lines[1].text, "Boldface");
    EXPECT_EQ(lines[2].text, "Population\tArea");
    // A Chinese line may break after any character: the first one would have fitted.
    EXPECT_DOUBLE_EQ(lines[3].firstWordWidth, 10);
    EXPECT_EQ(lines[4].text, "LATEX");
    EXPECT_EQ(lines[5].text, "again");
    EXPECT_EQ(lines[6].text, "Lo");
}

// The PDF holds right-to-left text in the order it is shown; lines are read
// from the right, numbers and Latin words inside kept as they are.
TEST(PdfLines, RightToLeftLinesAreTurnedIntoReadingOrder)
{
    const std::vector<Line> lines = groupIntoLines({
        {"םולש", 0, 0, 30, 10, true, 0, 10},
        {"2023", 34, 0, 54, 10, true, 0, 10},
        {"הנשב", 58, 0, 98, 10, false, 0, 10},
        {"Hebrew", 0, 20, 30, 30, true, 0, 10},
        {"םולש", 34, 20, 54, 30, false, 0, 10},
        {"ﻡﻼﺴﻟﺍ", 0, 40, 30, 50, false, 0, 10},
    });
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[2].text, "ﺍﻟﺴﻼﻡ");
    EXPECT_EQ(lines[0].text, "בשנה 2023 שלום");
    EXPECT_TRUE(lines[0].rightToLeft);
    EXPECT_DOUBLE_EQ(lines[0].firstWordWidth, 40);
    EXPECT_EQ(lines[1].text, "Hebrew שלום");
    EXPECT_FALSE(lines[1].rightToLeft);
}

TEST(PdfParagraphs, AChapterLineStartsAParagraphAndLearnsItsOffset)
{
    std::vector<Anchor> anchors = {{0, 1}, {1, 0}, {2, 0}};
    const std::string text = joinParagraphs({{at("one two", 0, 50, full), at("three", 13)}, {at("four", 0)}}, anchors);
    EXPECT_EQ(text, "one two\r\nthree\r\nfour\r\n");
    EXPECT_EQ(anchors[0].offset, 9U);
    EXPECT_EQ(anchors[1].offset, 16U);
    EXPECT_EQ(anchors[2].offset, text.size());
}

// Bookmarks go to a page and a height: the chapter starts at the heading
// there, its title matched loosely, else where the bookmark goes; one
// without a page is looked for after the chapter before it.
TEST(PdfBookmarks, StartAtTheirHeadingElseWhereTheyGo)
{
    const std::vector<std::vector<Line>> pages = {
        {at("Contents", 0), at("Creators 3", 13)},
        {at("CHAPTER ONE", 0), at("Creators", 20), at("About the creators of it all", 40), at("2.1Glued", 60)},
        {at("Body of page three", 0), at("Second line", 13)},
    };
    const std::vector<OutlineEntry> outline = {
        {"Chapter 1: Creators", 1, 1, 0},
        {"Data Flow", 2, 1, 55.0},
        {"2.1 Glued", 2, 1, std::nullopt},
        {"second  LINE", 2, -1, std::nullopt},
        {"Second line", 2, -1, std::nullopt},
        {"Lost", 2, -1, std::nullopt},
        {"Away", 2, -1, std::nullopt},
        {"Fourth", 2, -1, std::nullopt},
        {"Last", 1, 2, 100.0},
        {"\u00A7", 2, 0, std::nullopt},
        {" ", 1, 0, std::nullopt},
    };
    std::vector<Anchor> anchors;
    std::vector<std::string> warnings;
    const auto chapters = placeBookmarks(outline, pages, anchors, warnings);
    const std::vector<std::pair<std::size_t, std::size_t>> expected = {{1, 0}, {1, 3}, {1, 3}, {2, 1}, {2, 2}, {0, 0}};
    ASSERT_EQ(chapters.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_EQ(std::pair(anchors[k].page, anchors[k].line), expected[k]) << chapters[k].title;
    EXPECT_EQ(chapters[3].title, "second  LINE");
    EXPECT_EQ(chapters[3].level, 2);
    ASSERT_EQ(warnings.size(), 1U);
    // The second "Second line" is not the first one's again.
    EXPECT_EQ(warnings[0], "4 bookmark(s) name no heading found in the text: \"Second line\", \"Lost\", \"Away\", ...");
}

// A second reader lays out pages on another thread where there is a core for
// it: the text, its chapters and the pages named come out as with one
// reader, in page order; a second reader that fails fails the reading.
TEST(PagedText, SecondReaderGivesTheTextOfOne)
{
    constexpr int count = 40;
    const PageReader words = [](int index, bool* cutShort) {
        *cutShort = index == 30;
        if (index == 3)
            return std::vector<Word> {};
        const std::string n = std::to_string(index);
        const std::string twice = std::to_string(2 * index);
        return std::vector<Word> {{"Field Report", 50, 10, 122, 20, false, 0, 10},
                                  {"Text", 50, 40, 74, 50, true, 0, 10},
                                  {"of", 78, 40, 90, 50, true, 0, 10},
                                  {"page" + twice + ".", 94, 40, 130, 50, false, 0, 10},
                                  {n, 50, 800, 62, 810, false, 0, 10}};
    };
    const PagedDocument document {count, words, [](std::size_t) {
                                      return std::vector<OutlineEntry> {{"Nine", 1, 9, std::nullopt}};
                                  }};
    const PagedRefusals refusals {"no pages", "no text"};
    const leafmill::extract::Result one = pagedText(document, {}, refusals);
    ASSERT_TRUE(one.ok);
    EXPECT_EQ(one.text.substr(0, 32), "Text of page0.\r\nText of page2.\r\n");
    EXPECT_EQ(one.text.find("Field"), std::string::npos);
    EXPECT_EQ(
        one.warnings,
        (std::vector<std::string> {"page(s) 4 have no text layer (scanned pictures?) and are left out",
                                   "page(s) 31 draw far more than a page can show (forms within forms?) and were read "
                                   "only in part"}));
    ASSERT_EQ(one.chapters.size(), 1U);
    EXPECT_EQ(one.text.substr(one.chapters[0].offset, 16), "Text of page18.\r");

    // The first reader waits until the second has taken a page, so that both
    // surely lay out some.
    std::atomic<bool> secondMade {false}, secondRead {false};
    const PageReader waiting = [&](int index, bool* cutShort) {
        for (int i = 0; secondMade && !secondRead && i < 5000; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        return words(index, cutShort);
    };
    const PagedDocument shared {count, waiting, document.outline};
    const leafmill::extract::Result two = pagedText(shared, {}, refusals, [&] {
        secondMade = true;
        return PageReader([&](int index, bool* cutShort) {
            secondRead = true;
            return words(index, cutShort);
        });
    });
    EXPECT_EQ(two.text, one.text);
    EXPECT_EQ(two.warnings, one.warnings);
    ASSERT_EQ(two.chapters.size(), 1U);
    EXPECT_EQ(two.chapters[0].offset, one.chapters[0].offset);
    EXPECT_EQ(secondRead.load(), secondMade.load());

    secondMade = secondRead = false;
    const auto failing = [&] {
        secondMade = true;
        return PageReader([&](int, bool*) -> std::vector<Word> {
            secondRead = true;
            throw std::runtime_error("damaged");
        });
    };
    bool threw = false;
    try {
        pagedText(shared, {}, refusals, failing);
    } catch (const std::runtime_error&) {
        threw = true;
    }
    EXPECT_EQ(threw, secondMade.load());
}

namespace {

// A long report: a running head and a page number on every page, and on each
// a paragraph of full lines ending in a short one.
constexpr int kReportPages = 3000;
constexpr std::size_t kFullLines = 14;

// Numbers that do not count with the pages, so that no line but the head
// and the page number is running.
std::string reportLine(int page, std::size_t line)
{
    char number[16];
    std::snprintf(number, sizeof number, "%06d", 7 * page + 1);
    return line < kFullLines
        ? "page " + std::string(number) + " line " + std::to_string(line) + " of a report that runs on for pages"
        : "end of " + std::string(number);
}

std::vector<Word> reportPage(int page)
{
    std::vector<Word> words {{"Field Report", 50, 10, 122, 20, false, 0, 10}};
    for (std::size_t line = 0; line <= kFullLines; ++line) {
        const std::string text = reportLine(page, line);
        const double top = 40 + 13.0 * static_cast<double>(line);
        double x = 50;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t end = std::min(text.find(' ', at), text.size());
            const double right = x + 6.0 * static_cast<double>(end - at);
            words.push_back({text.substr(at, end - at), x, top, right, top + 10, end < text.size(), 0, 10});
            x = right + 6;
            at = end + 1;
        }
    }
    words.push_back({std::to_string(page + 1), 50, 800, 62, 810, false, 0, 10});
    return words;
}

leafmill::extract::Result readReport(const leafmill::extract::Options& options, const AnotherReader& another)
{
    const PagedDocument report {
        kReportPages, [](int index, bool*) { return reportPage(index); },
        [](std::size_t) {
            return std::vector<OutlineEntry> {
                {"Ten", 1, 9, std::nullopt},     {"Late", 1, 2999, std::nullopt},
                {"Opening", 1, 0, std::nullopt}, {reportLine(1500, kFullLines), 2, -1, std::nullopt},
                {"Also ten", 2, 9, 0.0},         {"The end", 1, kReportPages - 1, 900.0}};
        }};
    return pagedText(report, options, {"no pages", "no text"}, another);
}

struct HandOnCase {
    const char* name;
    std::function<leafmill::extract::Result(const leafmill::extract::Options&)> read;
};

// What a reader gave a sink and left in its result, put together.
struct Handed {
    std::string text;
    std::vector<leafmill::extract::Chapter> chapters;
    std::size_t pieces = 0;
};

}  // namespace

class PagedTextHandOn : public testing::TestWithParam<HandOnCase> { };

// Handed on in pieces at line ends, with each chapter in the piece it starts
// in, the text and chapters are those of the text held whole, which are the
// pages' paragraphs without their running lines, and the bookmarks in text
// order wherever the outline lists them.
TEST_P(PagedTextHandOn, GivesTheTextHeldWhole)
{
    const leafmill::extract::Result whole = GetParam().read({});
    ASSERT_TRUE(whole.ok) << whole.error;
    Handed handed;
    leafmill::extract::Options options;
    options.sink = [&](std::string_view text, std::span<const leafmill::extract::Chapter> chapters) {
        EXPECT_TRUE(text.ends_with("\r\n"));
        for (const auto& chapter : chapters) {
            EXPECT_GE(chapter.offset, handed.text.size());
            EXPECT_LT(chapter.offset, handed.text.size() + text.size());
            handed.chapters.push_back(chapter);
        }
        handed.text += text;
        ++handed.pieces;
    };
    const leafmill::extract::Result pieces = GetParam().read(options);
    ASSERT_TRUE(pieces.ok) << pieces.error;
    EXPECT_EQ(pieces.handedOn, handed.text.size());
    handed.text += pieces.text;
    handed.chapters.insert(handed.chapters.end(),
                           pieces.chapters.begin() + static_cast<std::ptrdiff_t>(pieces.chaptersHandedOn),
                           pieces.chapters.end());
    EXPECT_TRUE(handed.text == whole.text);
    EXPECT_EQ(pieces.warnings, whole.warnings);
    ASSERT_EQ(handed.chapters.size(), whole.chapters.size());
    for (std::size_t k = 0; k < whole.chapters.size(); ++k)
        EXPECT_EQ(std::tie(handed.chapters[k].title, handed.chapters[k].offset),
                  std::tie(whole.chapters[k].title, whole.chapters[k].offset));
    if (std::string_view(GetParam().name).starts_with("Report")) {
        // The bookmark that names no page starts a paragraph at its heading.
        std::string expected;
        std::vector<std::size_t> starts;
        std::size_t heading = 0;
        for (int page = 0; page < kReportPages; ++page) {
            starts.push_back(expected.size());
            for (std::size_t line = 0; line <= kFullLines; ++line) {
                heading = page == 1500 && line == kFullLines ? expected.size() : heading;
                expected += reportLine(page, line);
                expected += line < kFullLines ? (page == 1500 && line + 1 == kFullLines ? "\r\n" : " ") : "\r\n";
            }
        }
        EXPECT_GE(handed.pieces, 2U);
        EXPECT_TRUE(whole.text == expected) << whole.text.substr(0, 400);
        const std::vector<std::pair<std::string, std::size_t>> chapters
            = {{"Opening", 0},          {"Ten", starts[9]},
               {"Also ten", starts[9]}, {reportLine(1500, kFullLines), heading},
               {"Late", starts[2999]},  {"The end", expected.size()}};
        ASSERT_EQ(whole.chapters.size(), chapters.size());
        for (std::size_t k = 0; k < chapters.size(); ++k)
            EXPECT_EQ(std::pair(whole.chapters[k].title, whole.chapters[k].offset), chapters[k]);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Readers, PagedTextHandOn,
    testing::Values(HandOnCase {"ReportOnOneReader",
                                [](const leafmill::extract::Options& options) { return readReport(options, {}); }},
                    HandOnCase {"ReportOnTwoReaders",
                                [](const leafmill::extract::Options& options) {
                                    return readReport(options, [] {
                                        return PageReader([](int index, bool*) { return reportPage(index); });
                                    });
                                }},
                    HandOnCase {"BookmarksPdf",
                                [](const leafmill::extract::Options& options) {
                                    return leafmill::extract::pdfToText(
                                        leafmill::test::readFile(std::filesystem::path(LEAFMILL_TEST_DATA)
                                                                 / "fixtures/bookmarks.pdf"),
                                        options);
                                }}),
    [](const testing::TestParamInfo<HandOnCase>& named) { return std::string(named.param.name); });
