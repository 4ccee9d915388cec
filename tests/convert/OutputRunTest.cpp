#include "convert/OutputRun.h"
#include "convert/EstimatePages.h"
#include "lang/LanguageTable.h"
#include "text/CodePage.h"

#include "PageFolder.h"
#include "RecordingListener.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

namespace leafmill {
namespace {

using test::pagesIn;
using test::TempDir;

TEST(FixInputTest, NameFirstThenCharactersThenList)
{
    EXPECT_EQ(FixInput("", 0), 10);
    EXPECT_EQ(FixInput("", 3), 10);
    for (const char* bad : {"My/Book", "a\\b", "c:", "*", "why?", "\"q\"", "<a>", "a|b", "tab\there", "line\nend",
                            "del\x7f", "next\xc2\x85line", "c1\xc2\x9f", "a?."})
        EXPECT_EQ(FixInput(bad, 1), 11) << bad;
    const std::pair<const char*, int> misshapen[]
        = {{" ", 50},      {"   ", 50},    {".", 51},   {"..", 51}, {"...", 51},
           {"Alice ", 52}, {"Alice.", 52}, {" . ", 52}, {"v1.", 52}};
    for (const auto& [name, refusal] : misshapen)
        EXPECT_EQ(FixInput(name, 1), refusal) << '"' << name << '"';
    EXPECT_EQ(FixInput("Alice", 0), 12);
    EXPECT_EQ(FixInput("Alice", 2), 0);
    EXPECT_EQ(FixInput(".hidden", 1), 0);
    EXPECT_EQ(FixInput("Ünïcode 书 \xc2\xa0", 1), 0);
}

TEST(EstimatePagesTest, TheDivisorGrowsWithTheCutTypeIndex)
{
    TempDir dir;
    test::writeFile(dir / "a.txt", std::string(10'000, 'x'));
    const std::vector<std::string> sources = {(dir / "a.txt").string(), (dir / "gone.txt").string()};
    Settings settings;
    settings.CutTypeTable = {{4096, 400}, {4096, 400}, {0, 0}};
    settings.CutTypeNum = 2;
    RunState state;
    state.PageNumDigits = 9;
    EstimatePages(settings, sources, state);
    EXPECT_EQ(state.PageEstimate, 2);
    EXPECT_EQ(state.PageNumDigits, 4);
    EXPECT_EQ(state.PageNumPad, "0000");
    settings.CutTypeIndex = 1;
    EstimatePages(settings, sources, state);
    EXPECT_EQ(state.PageEstimate, 1);
    settings.CutTypeIndex = 2;  // uncut: one page per source
    EstimatePages(settings, sources, state);
    EXPECT_EQ(state.PageEstimate, 2);
}

class OutputRunTest : public ::testing::Test {
protected:
    OutputRunTest()
    {
        test::writeLanguageFile(dir / "Test.ini");
        auto table = std::make_shared<LanguageTable>();
        std::string error;
        EXPECT_TRUE(table->LoadLanguageTable(dir.path(), "Test", *codePage, &error)) << error;
        language = table;
        settings.CutTypeNum = 1;
        settings.CutTypeTable = {{100, 20}, {50, 10}};
        settings.CutWordNum = 1;
        settings.CutWord = {"\r\n", " "};
        std::filesystem::create_directory(dir / "out");
    }

    // A source of `lines` lines of 30 bytes: three pages of 100 bytes make 10 lines.
    std::string source(const std::string& name, int lines)
    {
        std::string text;
        for (int i = 0; i < lines; ++i)
            text += name.substr(0, 1) + std::string(27, 'x') + "\r\n";
        test::writeFile(dir / name, text);
        return (dir / name).string();
    }

    RunResult run(const std::string& book, const std::vector<std::string>& sources)
    {
        OutputRun outputRun(settings, codePage, language);
        current = &outputRun;
        RunResult result = outputRun.run(book, sources, (dir / "out").string(), listener);
        current = nullptr;
        return result;
    }

    std::filesystem::path bookFolder(const std::string& book) const { return dir / "out" / book; }

    TempDir dir;
    std::shared_ptr<const CodePage> codePage = CodePage::open("windows-1252");
    std::shared_ptr<const LanguageTable> language;
    Settings settings;
    test::RecordingListener listener;
    OutputRun* current = nullptr;
};

TEST_F(OutputRunTest, PagesAreNumberedThroughTheWholeBook)
{
    const std::vector<std::string> sources = {source("a.txt", 8), source("b.txt", 2)};
    const RunResult result = run("Alice", sources);
    EXPECT_EQ(result.end, RunEnd::Completed);
    EXPECT_EQ(result.message, "Book Alice is done; Alice, not @bookname.");
    EXPECT_EQ(result.bookFolder, bookFolder("Alice").string() + "/");
    const auto pages = pagesIn(bookFolder("Alice"), "Alice");
    ASSERT_EQ(pages.size(), 4u);  // 240 bytes give 3 pages, 60 bytes one
    EXPECT_EQ(pages[3].name, "Alice0003.txt");
    EXPECT_EQ(pages[3].bytes.substr(0, 1), "b");
    EXPECT_EQ(listener.started, sources);
}

TEST_F(OutputRunTest, ACompletedRunRemovesOnlyTheOldPagesOfItsStem)
{
    run("Alice", {source("a.txt", 8)});
    const std::filesystem::path folder = bookFolder("Alice");
    // Neighbours that are no old pages of this book, and a link that is one by name.
    for (const char* other : {"Alice0009.txt.bak", "AliceX1.txt", "Alice.txt", "Bob0001.txt", "alice0005.txt"})
        test::writeFile(folder / other, "keep");
    test::writeFile(dir / "elsewhere.txt", "keep");
    std::filesystem::create_symlink(dir / "elsewhere.txt", folder / "Alice0007.txt");
    std::filesystem::create_directory(folder / "Alice0008.txt");
    const std::string ownSource = source("out/Alice/Alice12.txt", 1);

    test::writeFile(dir / "a.txt", "short\r\n");
    const RunResult again = run("Alice", {(dir / "a.txt").string(), ownSource});
    EXPECT_EQ(again.end, RunEnd::Completed);
    EXPECT_EQ(again.removedOldPages, 1);  // Alice0002; Alice0001 was written again
    EXPECT_EQ(again.message,
              "Book Alice is done; Alice, not @bookname.\n1 old pages of an earlier run were removed from the book "
              "folder.");
    const auto pages = pagesIn(folder, "Alice");
    std::string names;
    for (const auto& page : pages)
        names += page.name + " ";
    EXPECT_EQ(names, "Alice.txt Alice0000.txt Alice0001.txt Alice0007.txt Alice0008.txt Alice12.txt ");
    ASSERT_EQ(pages.size(), 6u);
    EXPECT_EQ(pages[1].bytes, "short\r\n\r\n");
    EXPECT_EQ(pages[2].bytes.substr(0, 1), "o");  // the second source's only page
    for (const char* other : {"Alice0009.txt.bak", "AliceX1.txt", "Alice.txt", "Bob0001.txt", "alice0005.txt"})
        EXPECT_EQ(test::readFile(folder / other), "keep") << other;
    EXPECT_EQ(test::readFile(dir / "elsewhere.txt"), "keep");
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Alice0008.txt"));
}

TEST_F(OutputRunTest, AStoppedOrFailedRunRemovesNoOldPage)
{
    const std::vector<std::string> sources = {source("a.txt", 8), source("b.txt", 8)};
    run("Alice", sources);
    ASSERT_EQ(pagesIn(bookFolder("Alice"), "Alice").size(), 6u);
    test::writeFile(dir / "a.txt", "short\r\n");
    const RunResult failed = run("Alice", {sources[0], (dir / "gone.txt").string()});
    EXPECT_EQ(failed.removedOldPages, 0);
    listener.onSourceStarted = [this](std::size_t) { current->requestStop(); };
    const RunResult stopped = run("Alice", sources);
    EXPECT_EQ(stopped.end, RunEnd::Stopped);
    EXPECT_EQ(stopped.removedOldPages, 0);
    EXPECT_EQ(pagesIn(bookFolder("Alice"), "Alice").size(), 6u);
}

// A page's name may reach a source by its own name, a link or a second name.
TEST_F(OutputRunTest, NoPageIsEverWrittenOverASource)
{
    namespace fs = std::filesystem;
    enum class Place { Copy, Link, HardLink };
    const struct {
        Place place;
        bool wholeFile;
    } cases[] = {{Place::Copy, false}, {Place::Copy, true}, {Place::Link, false}, {Place::HardLink, false}};
    for (const auto& c : cases) {
        fs::remove_all(bookFolder("Alice"));
        fs::create_directory(bookFolder("Alice"));
        // A table whose last row is uncut is whole-file mode.
        settings.CutTypeTable = {{100, 20}, {c.wholeFile ? 0 : 50, 10}};
        const std::string original = source("chapter1.txt", 12);
        const std::string bytes = test::readFile(original);
        const fs::path page = bookFolder("Alice") / (c.wholeFile ? "chapter1.txt" : "Alice0000.txt");
        if (c.place == Place::Copy)
            fs::copy_file(original, page);
        else if (c.place == Place::Link)
            fs::create_symlink(original, page);
        else
            fs::create_hard_link(original, page);
        const std::string placed = c.place == Place::Copy ? page.string() : original;
        const RunResult result = run("Alice", {placed});
        const std::string what = "case " + std::to_string(&c - cases);
        EXPECT_EQ(test::readFile(placed), bytes) << what;
        EXPECT_EQ(test::readFile(original), bytes) << what;
        ASSERT_EQ(result.sources.size(), 1u) << what;
        EXPECT_EQ(result.sources[0].failure, SourceFailure::WriteFailed) << what;
        EXPECT_NE(result.message.find(page.string() + ": it is the source " + placed), std::string::npos)
            << what << "\n"
            << result.message;
        EXPECT_TRUE(result.message.starts_with("The book Alice has no pages")) << result.message;
    }
}

TEST_F(OutputRunTest, ASourceThatFailsAfterSomePagesIsListedAsStopped)
{
    // The second source lies where the first one's second page goes.
    std::filesystem::create_directory(bookFolder("Alice"));
    const std::string inTheWay = source("out/Alice/Alice0001.txt", 2);
    const RunResult result = run("Alice", {source("a.txt", 8), inTheWay});
    ASSERT_EQ(result.sources.size(), 2u);
    EXPECT_EQ(result.sources[0].pages, 1);
    const std::string reason = bookFolder("Alice").string() + "/Alice0001.txt: it is the source " + inTheWay
        + ", which is never overwritten";
    EXPECT_EQ(result.message,
              "Book Alice is done; Alice, not @bookname.\n\nNo pages from:\n" + inTheWay + ": not written: " + reason
                  + "\n\nThese sources stopped before their end:\n" + result.sources[0].path
                  + ": stopped after 1 page(s): not written: " + reason);
}

TEST_F(OutputRunTest, ARunOfNoPagesSaysSo)
{
    test::writeFile(dir / "empty.txt", "");
    EXPECT_EQ(run("Alice", {(dir / "empty.txt").string()}).message,
              "The book Alice has no pages: no source gave any text.");
    EXPECT_EQ(run("Alice", {(dir / "gone.txt").string()}).summary,
              "The book Alice has no pages: no source gave any text.");
}

// The question comes before the next source; none is left after the last.
TEST_F(OutputRunTest, AStopIsAskedBeforeTheNextSourceAndTheAnswerDecides)
{
    const std::vector<std::string> sources = {source("a.txt", 4), source("b.txt", 4), source("c.txt", 4)};
    const struct {
        std::size_t stopDuring;
        bool answer;
        int questions;
        RunEnd end;
        std::size_t sourcesRun;
        const char* message;
    } cases[] = {
        {0, true, 1, RunEnd::Stopped, 1, "Stopped."},
        {0, false, 1, RunEnd::Completed, 3, "Book Alice is done; Alice, not @bookname."},
        {2, true, 0, RunEnd::Stopped, 3, "Stopped."},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(bookFolder("Alice"));
        listener = {};
        listener.answer = c.answer;
        listener.onSourceStarted = [&](std::size_t index) {
            if (index == c.stopDuring)
                current->requestStop();
        };
        const RunResult result = run("Alice", sources);
        EXPECT_EQ(std::tie(listener.questions, result.end, result.message),
                  std::make_tuple(c.questions, c.end, std::string(c.message)))
            << "stop during " << c.stopDuring;
        EXPECT_EQ(result.sources.size(), c.sourcesRun);
        EXPECT_EQ(listener.runValues.back(), 100);
        for (const auto& page : pagesIn(bookFolder("Alice"), "Alice"))
            EXPECT_TRUE(c.sourcesRun > 1 || page.bytes.starts_with("a")) << page.name;
    }
}

// The failures by kind, then the readers' warnings.
TEST_F(OutputRunTest, TheEndMessageListsTheSourcesThatGaveNoPagesAndTheReadersWarnings)
{
    test::writeFile(dir / "empty.txt", "");
    test::writeFile(dir / "letter.pages", "PK");
    test::writeFile(dir / "junk.doc", std::string("\x01\x02\0\0", 4));
    test::writeFile(dir / "open.rtf", "{\\rtf1\\ansi Call me {\\b Ishmael");
    const std::vector<std::string> sources
        = {source("a.txt", 1),          (dir / "letter.pages").string(), (dir / "empty.txt").string(),
           (dir / "gone.txt").string(), (dir / "junk.doc").string(),     (dir / "open.rtf").string()};
    const RunResult result = run("Alice", sources);
    EXPECT_EQ(result.end, RunEnd::Completed);
    EXPECT_TRUE(result.anySourceFailed());
    EXPECT_EQ(result.message,
              "Book Alice is done; Alice, not @bookname.\n\nNo pages from:\n" + sources[1] + ": unsupported\n"
                  + sources[3] + ": missing (No such file or directory)\n" + sources[4]
                  + ": not converted: not a Word document: the file does not start with a compound-file header"
                  + "\n\nThe readers warned about these sources:\n" + sources[5]
                  + "\n  the document ends inside 2 unclosed groups; the text was read up to its end");
    ASSERT_EQ(result.sources.size(), 6u);
    EXPECT_EQ(result.sources[2].failure, SourceFailure::None);
    EXPECT_EQ(result.sources[2].pages, 0);
    EXPECT_EQ(pagesIn(bookFolder("Alice"), "Alice").size(), 2u);
}

TEST_F(OutputRunTest, ARefusedRunCreatesNothing)
{
    const std::vector<std::string> sources = {source("a.txt", 1)};
    EXPECT_EQ(run("bell\a", sources).end, RunEnd::Refused);
    EXPECT_EQ(run("bell\a", sources).message, "bad name");
    EXPECT_EQ(run("", sources).message, "empty name");
    EXPECT_EQ(run("Alice", {}).message, "empty list");
    EXPECT_TRUE(std::filesystem::is_empty(dir / "out"));
    EXPECT_TRUE(listener.started.empty());
}

TEST_F(OutputRunTest, ABookFolderThatCannotBeCreatedEndsTheRunAtOnce)
{
    test::writeFile(dir / "out" / "Alice", "a file in the way");
    const RunResult blocked = run("Alice", {source("a.txt", 1)});
    EXPECT_EQ(blocked.end, RunEnd::BookFolderFailed);
    const std::string folder = bookFolder("Alice").string() + "/";
    EXPECT_TRUE(blocked.message.starts_with("no folder " + folder + ": ")) << blocked.message;
    EXPECT_TRUE(blocked.sources.empty());
    EXPECT_TRUE(listener.started.empty());
}

TEST_F(OutputRunTest, WholeFileModeNamesEachPageAfterItsSource)
{
    settings.CutTypeTable = {{100, 20}, {0, 0}};
    settings.CutTypeIndex = 1;
    std::filesystem::create_directories(dir / "one");
    std::filesystem::create_directories(dir / "two");
    test::writeFile(dir / "one" / "tale.of.two.txt", "first\r\n");
    test::writeFile(dir / "two" / "tale.of.two.txt", "second\r\n");
    const std::vector<std::string> sources = {source("long.txt", 20), (dir / "one" / "tale.of.two.txt").string(),
                                              (dir / "two" / "tale.of.two.txt").string()};
    const RunResult result = run("Alice", sources);
    EXPECT_EQ(result.end, RunEnd::Completed);
    EXPECT_EQ(result.message,
              "Book Alice is done; Alice, not @bookname.\n" + sources[2]
                  + " was written as tale.of.two (2).txt, as another source has the same name.");
    EXPECT_EQ(test::readFile(bookFolder("Alice") / "long.txt").size(), 20u * 30u + 2u);
    EXPECT_EQ(test::readFile(bookFolder("Alice") / "tale.of.two.txt"), "first\r\n\r\n");
    EXPECT_EQ(test::readFile(bookFolder("Alice") / "tale.of.two (2).txt"), "second\r\n\r\n");
    EXPECT_EQ(result.pageCount, 3);
    // A run again writes the same names and removes nothing.
    EXPECT_EQ(run("Alice", sources).message, result.message);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(bookFolder("Alice")), {}), 3);
}

}  // namespace
}  // namespace leafmill
