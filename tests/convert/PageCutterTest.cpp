#include "convert/PageCutter.h"
#include "convert/FindCutPoint.h"
#include "convert/PageWriter.h"
#include "convert/RunState.h"
#include "text/CodePage.h"

#include "PageFolder.h"
#include "PageInvariants.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace leafmill {
namespace {

using test::pagesIn;
using test::TempDir;

const std::string kCrLf = "\r\n";

// Cuts real files in a temporary folder into a real book folder.
class PageCutterTest : public ::testing::Test {
protected:
    void SetUp() override { useCodePage("windows-1252"); }

    void useCodePage(const std::string& name)
    {
        codePage = CodePage::open(name);
        ASSERT_TRUE(codePage);
    }

    // Cuts `content` into a fresh book folder, numbering from `firstPage`.
    CutOutcome cut(std::string_view content, int32_t firstPage = 0)
    {
        std::filesystem::remove_all(book());
        state.PageCount = firstPage;
        test::writeFile(dir / "source.txt", content);
        return cutFile(dir / "source.txt");
    }

    CutOutcome cutFile(const std::filesystem::path& source)
    {
        std::filesystem::create_directories(book());
        state.OutPutDir = book().string() + "/";
        state.BookName = "Book";
        PageWriter writer(state, [this](int value) { progress.push_back(value); });
        PageCutter cutter(rules, *codePage, writer);
        return cutter.CutTextFile(source);
    }

    std::filesystem::path book() const { return dir / "book"; }

    // The page texts without their closing CR LF (which every page must have).
    std::vector<std::string> pageTexts()
    {
        std::vector<std::string> texts;
        for (const auto& page : pagesIn(book(), "Book")) {
            EXPECT_GE(page.bytes.size(), 2u);
            EXPECT_EQ(page.bytes.substr(page.bytes.size() - 2), kCrLf) << page.name;
            texts.push_back(page.bytes.substr(0, page.bytes.size() - 2));
        }
        return texts;
    }

    TempDir dir;
    std::shared_ptr<const CodePage> codePage;
    CutRules rules;
    RunState state;
    std::vector<int> progress;
};

TEST_F(PageCutterTest, SmallFilesGiveTheirPages)
{
    const std::string as(300, 'a'), bs(200, 'b');
    // The window is bytes 301..400: a blank at its 3rd byte, CR LF at its 10th and 11th.
    const std::string text = as + "aa aaaaaa\r\n" + bs;
    const struct {
        int32_t size, window;
        std::vector<std::string> words;
        std::string text;
        std::vector<std::string> pages;  // without their closing CR LF
    } cases[] = {
        // Line ends become CR LF and a lone LF stays; nothing gives no page.
        {0, 0, {}, "one\rtwo\r\nthree\nfour", {"one\r\ntwo\r\nthree\nfour\r\n"}},
        {0, 0, {}, "", {}},
        {0, 0, {}, "\r\n", {"\r\n"}},
        // A full page is not cut and one byte more is, even between CR and LF: the size is a hard limit.
        {20, 5, {}, "12345678\r\n12345678\r\n", {"12345678\r\n12345678\r\n"}},
        {20, 5, {}, "12345678\r\n123456789\r\n", {"12345678\r\n123456789\r", "\n"}},
        // The first word of the list decides at its leftmost place; with none, the full size.
        // A cleared entry is passed over, not the end of the list.
        {400, 100, {"\r\n", " "}, text, {as + "aa aaaaaa\r\n", bs + "\r\n"}},
        {400, 100, {"#", " ", "\r\n"}, text, {as + "aa ", "aaaaaa\r\n" + bs + "\r\n"}},
        {400, 100, {"", "#", "", " "}, text, {as + "aa ", "aaaaaa\r\n" + bs + "\r\n"}},
        {400, 100, {"#"}, text, {text.substr(0, 400), text.substr(400) + "\r\n"}},
    };
    for (const auto& c : cases) {
        rules.pageSize = c.size;
        rules.windowSize = c.window;
        rules.cutWords = c.words;
        const CutOutcome outcome = cut(c.text);
        EXPECT_EQ(outcome.failure, SourceFailure::None);
        EXPECT_EQ(outcome.pages, static_cast<int32_t>(c.pages.size()));
        EXPECT_EQ(pageTexts(), c.pages) << testing::PrintToString(c.text.substr(0, 40));
    }
}

// Texts in UTF-8, cut in the code page of their row.
TEST_F(PageCutterTest, EveryLineEndHeadingsAndSentenceEndsDecideTheCut)
{
    const std::string filler(32, 'x');
    const struct {
        const char* codePage;
        int32_t size, window;
        std::vector<std::string> words;
        std::string text;
        std::vector<std::string> pages;
    } cases[] = {
        // LF, CR and both end lines; CR alone becomes CR LF, LF stays.
        {"windows-1252", 20, 15, {"\r\n", " "}, "aaaa aaaa\nbbbbbbbbbbbbbbb\n", {"aaaa aaaa\n", "bbbbbbbbbbbbbbb\n"}},
        {"windows-1252",
         20,
         15,
         {"\r\n", " "},
         "aaaa aaaa\rbbbbbbbbbbbbbbb\r",
         {"aaaa aaaa\r\n", "bbbbbbbbbbbbbbb\r\n"}},
        {"windows-1252", 8, 8, {"\r\n"}, "aaa\nbb\r\ncc\rddddd", {"aaa\n", "bb\r\n", "cc\r\n", "ddddd\r\n"}},
        // A cut inside a chapter heading, or between it and its line end, moves to its start.
        {"windows-1252",
         45,
         20,
         {" "},
         filler + "\nChapter 183: Home\nIt was late.\n",
         {filler + "\n", "Chapter 183: Home\nIt was late.\n"}},
        {"windows-936",
         40,
         10,
         {" "},
         filler + "\n第四章 回家\n天黑了。\n",
         {filler + "\n", "第四章 回家\n天黑了。\n"}},
        {"windows-1252", 42, 0, {}, filler + "\nChapter 9\nmore\n", {filler + "\n", "Chapter 9\nmore\n"}},
        // '.' takes "。" with its closing quote; without any word the last sentence end.
        {"UTF-8", 30, 30, {".", " "}, "“好。”好！他走了很远的路", {"“好。”", "好！他走了很远的路\r\n"}},
        {"UTF-8", 30, 30, {"#"}, "“好。”好！他走了很远的路", {"“好。”好！", "他走了很远的路\r\n"}},
    };
    for (const auto& c : cases) {
        useCodePage(c.codePage);
        rules = {c.size, c.window, 0, c.words, {}, {}, {}};
        for (std::string& word : rules.cutWords)
            word = codePage->fromUtf8(word);
        addWideSentenceEnds(rules, *codePage);
        ASSERT_EQ(cut(codePage->fromUtf8(c.text)).failure, SourceFailure::None);
        std::vector<std::string> pages;
        for (const std::string& page : c.pages)
            pages.push_back(codePage->fromUtf8(page));
        EXPECT_EQ(pageTexts(), pages) << c.text;
    }
}

TEST_F(PageCutterTest, NumbersGoOnFromTheRunsCountPastFourDigits)
{
    rules.pageSize = 12;
    EXPECT_EQ(cut("p000009999\r\np000010000\r\n", 9'999).pages, 2);
    const auto pages = pagesIn(book(), "Book");
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(pages[0].name, "Book9999.txt");
    EXPECT_EQ(pages[1].name, "Book10000.txt");
    EXPECT_EQ(pages[1].bytes, "p000010000\r\n\r\n");
    EXPECT_EQ(state.PageCount, 10'001);
    EXPECT_EQ(cut("", 7).pages, 0);
    EXPECT_EQ(state.PageCount, 7);
}

TEST_F(PageCutterTest, ALineEndSplitAcrossReadBlocksStaysOneLineEnd)
{
    rules.pageSize = 1000;
    for (std::size_t crAt : {65535u, 65536u, 131071u}) {
        std::string text(crAt, 'a');
        text += "\r\nb\rc\n";
        cut(text);
        std::string all;
        for (const auto& page : pageTexts())
            all += page;
        EXPECT_EQ(all, test::normalisedText(text)) << "CR at " << crAt;
    }
}

// Generated files in single-, double- and multi-byte code pages, with and without an overlap.
TEST_F(PageCutterTest, GeneratedFilesKeepTheCutterInvariants)
{
    std::mt19937 random(12345);
    const std::vector<std::string> ends = {"\r\n", "\r", "\n", " ", ". "};
    for (int round = 0; round < 60; ++round) {
        // 丄 is 81 41 in windows-936: its trail byte is an 'A'.
        const char* pages[] = {"windows-1252", "windows-936", "UTF-8"};
        useCodePage(pages[round % 3]);
        const std::vector<std::string> pieces
            = {"a", "q", codePage->fromUtf8(round % 3 ? "中" : "é"), codePage->fromUtf8(round % 3 == 1 ? "丄" : "é")};
        rules.pageSize = 40 + static_cast<int32_t>(random() % 400);
        rules.windowSize = static_cast<int32_t>(random() % (rules.pageSize + 50));  // may pass S
        rules.keep = round % 2 ? static_cast<int32_t>(random() % 30) : 0;
        rules.cutWords = {". ", "\r\n", " "};
        std::string text;
        const std::size_t target = random() % 12'000;
        while (text.size() < target) {
            const std::size_t run = random() % 8 == 0 ? random() % 1500 : random() % 30;
            const std::string& piece = pieces[random() % pieces.size()];
            for (std::size_t i = 0; i < run; ++i)
                text += piece;
            text += ends[random() % ends.size()];
        }
        ASSERT_EQ(cut(text).failure, SourceFailure::None);
        const auto files = pagesIn(book(), "Book");
        ASSERT_TRUE(files.empty() || files.back().number + 1 == static_cast<long>(files.size())) << round;
        const auto texts = pageTexts();
        // A cut and an overlap's start back off to a character's start.
        const std::size_t slack = codePage->isSingleByte() ? 0 : 3;
        const std::size_t size = std::size_t(rules.pageSize), keep = std::size_t(rules.keep) + slack;
        ASSERT_EQ(test::pageCutFault(test::normalisedText(text), texts, size, keep, *codePage), "")
            << "round " << round;
        for (std::size_t i = 0; i + 1 < texts.size(); ++i)
            ASSERT_TRUE(texts[i].size() + slack >= size || texts[i].ends_with(". ") || texts[i].ends_with("\n")
                        || texts[i].ends_with(" "))
                << "round " << round << " page " << i;
    }
}

TEST_F(PageCutterTest, ACutWordMatchesOnlyWhereACharacterStarts)
{
    useCodePage("windows-936");
    rules.cutWords = {"A"};
    // 丄 is 81 41: its trail byte is an 'A'.
    const std::string bytes = codePage->fromUtf8("丄丄xA丄");
    ASSERT_EQ(bytes, "\x81\x41\x81\x41xA\x81\x41");
    EXPECT_EQ(FindCutPoint(bytes, 0, bytes.size(), rules, *codePage), 6u);
    EXPECT_EQ(FindCutPoint(bytes, 1, 4, rules, *codePage), 0u);
    // A window may start on a trail byte; matches still count from the buffer's start.
    EXPECT_EQ(FindCutPoint(bytes, 3, bytes.size(), rules, *codePage), 3u);
}

TEST_F(PageCutterTest, AnOverlapAsLongAsThePageIsShortenedAndTheCutGoesOn)
{
    rules.pageSize = 10;
    rules.windowSize = 4;
    rules.keep = 64;
    rules.cutWords = {" "};
    const std::string text = "a b c d e f g h i j k l m n o p q r s t u v w x y z\r\n";
    ASSERT_EQ(cut(text).failure, SourceFailure::None);
    const auto pages = pageTexts();
    ASSERT_GT(pages.size(), 1u);
    ASSERT_LT(pages.size(), text.size());
    // Each page starts one byte further into the text than the one before.
    for (std::size_t i = 0; i + 1 < pages.size(); ++i) {
        const std::size_t n = std::min(pages[i].size() - 1, pages[i + 1].size());
        EXPECT_LE(pages[i].size(), 10u);
        EXPECT_EQ(pages[i + 1].substr(0, n), pages[i].substr(1, n)) << "page " << i;
    }
    EXPECT_TRUE(pages.back().size() <= 10u && pages.back().ends_with("z\r\n")) << pages.back();
}

TEST_F(PageCutterTest, ProgressIsWellDefinedWithoutAnEstimate)
{
    rules.pageSize = 10;
    state.PageEstimate = 0;
    EXPECT_EQ(cut("0123456789abc\r\n").pages, 2);
    EXPECT_EQ(progress, (std::vector<int> {99, 99}));

    state.PageEstimate = 4;
    progress.clear();
    cut("0123456789012345678901234567890123456789012345\r\n");
    EXPECT_EQ(progress, (std::vector<int> {25, 50, 75, 99, 99}));
}

TEST_F(PageCutterTest, UncutTextBecomesOneUnnumberedPage)
{
    rules.pageSize = 0;
    state.wholeFileMode = true;
    std::string text;
    while (text.size() < 200'000)
        text += "a line of the whole file\r\nand one with a lone lf\n";
    EXPECT_EQ(cut(text).pages, 1);
    EXPECT_EQ(test::readFile(book() / "Book.txt"), test::normalisedText(text) + kCrLf);
}

TEST_F(PageCutterTest, AMissingFileOrFolderIsAMissingSource)
{
    const CutOutcome missing = cutFile(dir / "nothing.txt");
    EXPECT_EQ(missing.failure, SourceFailure::Missing);
    EXPECT_FALSE(missing.reason.empty());
    std::filesystem::create_directory(dir / "folder.txt");
    EXPECT_EQ(cutFile(dir / "folder.txt").failure, SourceFailure::Missing);
}

#ifndef _WIN32
TEST_F(PageCutterTest, APageThatCannotBeWrittenIsReportedAndEarlierPagesStay)
{
    rules.pageSize = 10;
    std::filesystem::create_directories(book());
    // The second page's name leads to a device that is always full.
    std::filesystem::create_symlink("/dev/full", book() / "Book0001.txt");
    test::writeFile(dir / "source.txt", "0123456789\r\n0123456789\r\n0123456789\r\n");
    const CutOutcome full = cutFile(dir / "source.txt");
    EXPECT_EQ(full.failure, SourceFailure::WriteFailed);
    EXPECT_EQ(full.pages, 1);
    EXPECT_NE(full.reason.find("Book0001.txt"), std::string::npos) << full.reason;
    EXPECT_EQ(test::readFile(book() / "Book0000.txt"), "0123456789\r\n");
    EXPECT_EQ(state.PageCount, 1);
}
#endif

}  // namespace
}  // namespace leafmill
