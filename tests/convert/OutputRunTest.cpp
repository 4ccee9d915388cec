#include "convert/OutputRun.h"
#include "convert/EstimatePages.h"
#include "io/BookFolder.h"
#include "io/FolderLock.h"
#include "lang/LanguageTable.h"
#include "text/CodePage.h"

#include "FolderEntries.h"
#include "PageFolder.h"
#include "RecordingListener.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <thread>
#include <tuple>

namespace leafmill {
namespace {

using test::pagesIn;
using test::TempDir;

const std::string kDone = "Book Alice is done; Alice, not @bookname.";

// A reader that does what no reader should, chosen by its source's first
// byte: it eats memory, throws, aborts with much memory held, never ends,
// crashes, or reads on while its file is cut short under it.
std::filesystem::path cutWhileRead;
extract::Result misbehaves(std::string_view bytes, const extract::Options&)
{
    switch (bytes.front()) {
    case 'm':
        for (std::vector<std::string> held;;)
            held.emplace_back(1 << 20, 'm');
    case 't':
        throw std::bad_alloc();
    case 'a': {
        // As libraries do whose allocation failed near the limit.
        const std::string held(48 << 20, 'a');
        std::abort();
    }
    case 'e':
        for (volatile bool forever = true; forever;) { }
        break;
    case 'c':
        std::filesystem::resize_file(cutWhileRead, 0);
        break;
    default:
        std::abort();
    }
    return extract::Result::failure(std::string(1, *static_cast<const volatile char*>(bytes.data())));
}

const DispatchTable kMisbehaving = {{{".txt"}, nullptr, "txt"}, {{".odd"}, &misbehaves, "odd"}};

TEST(FixInputTest, NameFirstThenCharactersThenList)
{
    EXPECT_EQ(FixInput("", 0), 10);
    for (const char* bad : {"My/Book", "a\\b", "c:", "*", "why?", "\"q\"", "<a>", "a|b", "tab\there", "line\nend",
                            "del\x7f", "next\xc2\x85line", "c1\xc2\x9f", "a?."})
        EXPECT_EQ(FixInput(bad, 1), 11) << bad;
    std::string refusals;
    for (const char* name :
         {" ", "   ", ".", "..", "...", "Alice ", "Alice.", " . ", "v1.", ".hidden", "Ünïcode 书 \xc2\xa0"})
        refusals += std::to_string(FixInput(name, 1)) + " ";
    EXPECT_EQ(refusals, "50 50 51 51 51 52 52 52 52 0 0 ");
    // Page names of seven digits and ".txt" fit the 255 characters of a file name.
    EXPECT_EQ(FixInput(std::string(244, 'a'), 1), 0);
    EXPECT_EQ(FixInput(std::string(245, 'a'), 1), 128);
    EXPECT_EQ(FixInput("Alice", 0), 12);
    EXPECT_EQ(FixInput("Alice", 2), 0);
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
    for (const auto& [index, estimate] : {std::pair {1, 1}, {2, 2}}) {  // 2 is uncut: one page per source
        settings.CutTypeIndex = index;
        EstimatePages(settings, sources, state);
        EXPECT_EQ(state.PageEstimate, estimate) << index;
    }
}

class OutputRunTest : public ::testing::Test {
protected:
    OutputRunTest()
    {
        // The strings the run shows, markers kept visible.
        test::writeFile(dir / "Test.ini",
                        "[Info]\r\nSoftName=Leafmill\r\nMaxLngNum=40\r\nLanguage=Test\r\n[Strings]\r\n"
                        "00010=empty name\r\n00011=bad name\r\n00012=empty list\r\n00013=Converting \r\n"
                        "00014=Book @BookName is done; @BookName, not @bookname.\r\n00031=Stop?\r\n00032=Stopped.\r\n"
                        "00033=No pages from:\r\n00034=unsupported\r\n00035=missing\r\n00036=not converted: @Reason\r\n"
                        "00037=not written: @Reason\r\n00038=no folder @Folder: @Reason\r\n");
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

    test::WordedResult run(const std::vector<std::string>& sources, const std::string& book = "Alice",
                           const DispatchTable& dispatch = defaultDispatchTable())
    {
        return test::runWorded(
            settings, codePage, language, dispatch,
            [&](OutputRun& outputRun) {
                outputRun.limitSources(limits);
                current = &outputRun;
                RunResult result = outputRun.run(book, sources, (dir / "out").string(), listener);
                current = nullptr;
                return result;
            },
            makeTarget ? makeTarget() : nullptr);
    }

    std::filesystem::path bookFolder() const { return dir / "out" / "Alice"; }
    std::vector<test::PageFile> pages() const { return pagesIn(bookFolder(), "Alice"); }

    TempDir dir;
    std::shared_ptr<const CodePage> codePage = CodePage::open("windows-1252");
    std::shared_ptr<const LanguageTable> language;
    Settings settings;
    SourceLimits limits;
    test::RecordingListener listener;
    OutputRun* current = nullptr;
    std::function<std::unique_ptr<OutputTarget>()> makeTarget;  // none: the settings choose
};

TEST_F(OutputRunTest, PagesAreNumberedThroughTheWholeBook)
{
    const std::vector<std::string> sources = {source("a.txt", 8), source("b.txt", 2)};
    const auto result = run(sources);
    EXPECT_EQ(result.end, RunEnd::Completed);
    EXPECT_EQ(result.message, kDone);
    EXPECT_EQ(result.bookFolder, bookFolder().string() + "/");
    const auto written = pages();
    ASSERT_EQ(written.size(), 4u);  // 240 bytes give 3 pages, 60 bytes one
    EXPECT_EQ(written[3].name, "Alice0003.txt");
    EXPECT_EQ(written[3].bytes.substr(0, 1), "b");
    EXPECT_EQ(listener.started, sources);
    // A book whose pages' names start with a dot is replaced like any other.
    for (int again = 0; again < 2; ++again)
        EXPECT_TRUE(run(sources, ".hidden").finished()) << again;
}

// Only the files of the earlier run are replaced or removed, and only by a
// whole new book; a failed, stopped or blocked run leaves the earlier book as it was.
TEST_F(OutputRunTest, ABookIsReplacedWholeAndOnlyTheEarlierRunsFilesGo)
{
    run({source("a.txt", 8)});
    const std::filesystem::path folder = bookFolder();
    // Neighbours that are no old pages of this book: a user's own file named
    // like a page, and a link that is one by name.
    const char* others[]
        = {"Alice0009.txt.bak", "AliceX1.txt", "Alice.txt", "Bob0001.txt", "alice0005.txt", "Alice2024.txt"};
    for (const char* other : others)
        test::writeFile(folder / other, "keep");
    test::writeFile(dir / "elsewhere.txt", "keep");
    std::filesystem::create_symlink(dir / "elsewhere.txt", folder / "Alice0007.txt");
    std::filesystem::create_directory(folder / "Alice0008.txt");
    const std::string ownSource = source("out/Alice/Alice12.txt", 1);

    test::writeFile(dir / "a.txt", "short\r\n");
    const auto again = run({(dir / "a.txt").string(), ownSource});
    EXPECT_EQ(again.end, RunEnd::Completed);
    EXPECT_EQ(again.removedOldPages, 1);  // Alice0002; Alice0001 was written again
    EXPECT_EQ(again.message, kDone + "\n1 old pages of an earlier run were removed from the book folder.");
    const auto book = pages();
    std::string names;
    for (const auto& page : book)
        names += page.name + " ";
    ASSERT_EQ(names, "Alice.txt Alice0000.txt Alice0001.txt Alice0007.txt Alice0008.txt Alice12.txt Alice2024.txt ");
    EXPECT_EQ(book[1].bytes, "short\r\n\r\n");
    EXPECT_EQ(book[2].bytes.substr(0, 1), "o");  // the second source's only page
    for (const char* other : others)
        EXPECT_EQ(test::readFile(folder / other), "keep") << other;
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Alice0008.txt"));

    // A run that fails, stops, or meets a page's place taken by a link it did not make.
    const std::string earlier = "The book Alice was not replaced: not every source gave its pages, so the earlier book";
    const std::string stopped = "The output was stopped. The earlier book Alice stays as it was";
    const std::string taken = folder.string() + "/Alice0002.txt was not written by Leafmill";
    const struct {
        std::vector<std::string> sources;
        int event;  // 1: a stop during the source, 2: a stop at once, 3: a file in a page's place, as the book is
                    // finished
        std::string said;
    } kept[] = {
        {{source("b.txt", 8), (dir / "gone.txt").string()}, 0, earlier},
        {{source("b.txt", 1)}, 1, stopped},
        {{source("b.txt", 1)}, 2, stopped},
        {{source("b.txt", 8)}, 3, "The book Alice could not be put in place: " + taken},
        {{source("b.txt", 8)}, 0, taken},
    };
    for (const auto& c : kept) {
        std::filesystem::remove(folder / "Alice0002.txt");
        if (c.said == taken)
            std::filesystem::create_symlink(dir / "elsewhere.txt", folder / "Alice0002.txt");
        listener.onSourceStarted = [&](std::size_t) {
            if (c.event == 1)
                current->requestStop();
        };
        listener.onRunProgress = [&](int value) {
            if (c.event == 2 && value == 100)
                current->requestAbort();
            if (c.event == 3 && value == 100)
                test::writeFile(folder / "Alice0002.txt", "the user's own");
        };
        const auto result = run(c.sources);
        EXPECT_NE(result.message.find(c.said), std::string::npos) << result.message;
        EXPECT_EQ(result.book, BookState::EarlierKept);
        for (const auto& page : book)
            EXPECT_EQ(test::readFile(folder / page.name), page.bytes) << page.name;
        EXPECT_EQ(test::readFile(dir / "elsewhere.txt"), "keep");
        EXPECT_TRUE(c.event != 3 || test::readFile(folder / "Alice0002.txt") == "the user's own");
        EXPECT_EQ(test::entriesOf(folder).front(), ".leafmill.txt") << "no staging folder stays";
    }
}

// One listing of a folder tells most names apart; a name a file system may
// take for another of a different case is left to a look at it.
TEST(FolderListingTest, TellsWhatStandsAtANameOrThatOnlyALookCan)
{
    namespace fs = std::filesystem;
    TempDir dir;
    for (const char* name : {"Book0001.txt", "Twin.txt", "twin.txt"})
        test::writeFile(dir.path() / name, "");
    fs::create_directory(dir.path() / "Book (1 of 2)");
    fs::create_symlink(dir.path() / "Book0001.txt", dir.path() / "link.txt");
    test::writeFile(dir.path() / "\xc3\x89t\xc3\xa9.txt", "");
    FolderListing listing;
    std::error_code ec;
    ASSERT_TRUE(listing.read(dir.path(), ec)) << ec.message();
    const std::pair<const char*, std::optional<fs::file_type>> cases[] = {
        {"Book0001.txt", fs::file_type::regular},
        {"Book (1 of 2)", fs::file_type::directory},
        {"link.txt", fs::file_type::symlink},
        {"Book0002.txt", fs::file_type::not_found},
        {"BOOK0001.TXT", std::nullopt},
        {"book (1 OF 2)", std::nullopt},
        {"twin.txt", std::nullopt},
        {"\xc3\x89t\xc3\xa9.txt", std::nullopt},
        {"\xc3\xa9t\xc3\xa9.txt", std::nullopt},
    };
    for (const auto& [name, type] : cases)
        EXPECT_EQ(listing.typeOf(name), type) << name;
}

// A page's name may reach a source by its own name (also in whole-file mode), a link or a second name.
TEST_F(OutputRunTest, NoPageIsEverWrittenOverASource)
{
    namespace fs = std::filesystem;
    // A copy, whole file or page, a link and a hard link in a page's place;
    // a page of the earlier book, by its path or by a link to it.
    for (int place = 0; place < 6; ++place) {
        fs::remove_all(bookFolder());
        fs::create_directory(bookFolder());
        // A table whose last row is uncut is whole-file mode.
        settings.CutTypeTable = {{100, 20}, {place == 1 ? 0 : 50, 10}};
        std::string original = source("chapter1.txt", 12);
        const fs::path page = bookFolder() / (place == 1 ? "chapter1.txt" : "Alice0000.txt");
        if (place < 2)
            fs::copy_file(original, page);
        else if (place == 2)
            fs::create_symlink(original, page);
        else if (place == 3)
            fs::create_hard_link(original, page);
        else
            ASSERT_TRUE(run({original}).finished());
        if (place == 5)
            fs::create_symlink(page, original = (dir / "link.txt").string());
        const std::string placed = place < 2 || place == 4 ? page.string() : original;
        const std::string bytes = test::readFile(placed), originalBytes = test::readFile(original);
        const auto result = run({placed});
        EXPECT_EQ(test::readFile(placed), bytes) << place;
        EXPECT_EQ(test::readFile(original), originalBytes) << place;
        ASSERT_EQ(result.sources.size(), 1u) << place;
        EXPECT_EQ(result.sources[0].failure, SourceFailure::WriteFailed) << place;
        EXPECT_TRUE(place >= 4 || result.message.starts_with("The book Alice has no pages")) << result.message;
        EXPECT_NE(result.message.find(page.string() + ": it is the source " + placed), std::string::npos)
            << result.message;
    }
}

TEST_F(OutputRunTest, ASourceThatFailsAfterSomePagesIsListedAsStopped)
{
    // The second source lies where the first one's second page goes.
    std::filesystem::create_directory(bookFolder());
    const std::string inTheWay = source("out/Alice/Alice0001.txt", 2);
    const auto result = run({source("a.txt", 8), inTheWay});
    ASSERT_EQ(result.sources.size(), 2u);
    EXPECT_EQ(result.sources[0].pages, 1);
    const std::string reason
        = bookFolder().string() + "/Alice0001.txt: it is the source " + inTheWay + ", which is never overwritten";
    EXPECT_EQ(result.message,
              "The book Alice was made, but not every source gave its pages.\n\nNo pages from:\n" + inTheWay
                  + ": not written: " + reason + "\n\nThese sources stopped before their end:\n"
                  + result.sources[0].path + ": stopped after 1 page(s): not written: " + reason);
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
        std::string message;
    } cases[] = {
        {0, true, 1, RunEnd::Stopped, 1,
         "The output was stopped. The 2 page(s) written so far are in the book folder."},
        {0, false, 1, RunEnd::Completed, 3, kDone},
        {2, true, 0, RunEnd::Stopped, 3,
         "The output was stopped. The 6 page(s) written so far are in the book folder."},
    };
    for (const auto& c : cases) {
        std::filesystem::remove_all(bookFolder());
        listener = {};
        listener.answer = c.answer;
        listener.onSourceStarted = [&](std::size_t index) {
            if (index == c.stopDuring)
                current->requestStop();
        };
        const auto result = run(sources);
        EXPECT_EQ(std::tie(listener.questions, result.end, result.message),
                  std::make_tuple(c.questions, c.end, c.message))
            << "stop during " << c.stopDuring;
        EXPECT_EQ(result.sources.size(), c.sourcesRun);
        EXPECT_EQ(listener.runValues.back(), 100);
        for (const auto& page : pages())
            EXPECT_TRUE(c.sourcesRun > 1 || page.bytes.starts_with("a")) << page.name;
    }
}

TEST_F(OutputRunTest, AReaderThatCrashesHangsOrOverrunsFailsOnlyItsSource)
{
    limits = {64 << 20, 0, std::chrono::seconds(1), {}};
    std::vector<std::string> sources = {source("a.txt", 4)};
    for (const char* name : {"m.odd", "t.odd", "a.odd", "e.odd", "c.odd", "x.odd"}) {
        test::writeFile(dir / name, name);
        sources.push_back((dir / name).string());
    }
    sources.push_back(source("b.txt", 1));
    cutWhileRead = sources[5];
    const auto result = run(sources, "Alice", kMisbehaving);
    ASSERT_EQ(result.sources.size(), 8u) << result.message;
    const std::string tooLarge = "it is too large or too complex to read: it needed more than ";
#ifdef __SANITIZE_ADDRESS__
    // No allocation fails at the limit under the sanitizer: an abort is one.
    const std::string abortedNearTheLimit = "its reader stopped unexpectedly (signal 6";
#else
    const std::string abortedNearTheLimit = tooLarge + "64 MB";
#endif
    for (const auto& [index, said] :
         std::initializer_list<std::pair<std::size_t, std::string>> {{1, tooLarge + "64 MB"},
                                                                     {2, tooLarge + "64 MB"},
                                                                     {3, abortedNearTheLimit},
                                                                     {4, tooLarge + "1 s"},
                                                                     {5, "it changed while it was read"},
                                                                     {6, "its reader stopped unexpectedly (signal 6"}})
        EXPECT_NE(result.message.find(sources[index] + ": " + said), std::string::npos) << result.message;
    EXPECT_EQ(pages().size(), 3u) << "the sources around them gave their pages";
    EXPECT_EQ(result.book, BookState::Made);
}

// Stop ends a run at once, also while a reader works that would never end.
TEST_F(OutputRunTest, AStopEndsTheRunWhileAReaderWorks)
{
    test::writeFile(dir / "e.odd", "e");
    std::thread stopper;
    listener.onSourceStarted = [&](std::size_t) {
        stopper = std::thread([this] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            current->requestAbort();
        });
    };
    const auto result = run({(dir / "e.odd").string(), source("a.txt", 4)}, "Alice", kMisbehaving);
    stopper.join();
    EXPECT_EQ(std::tie(result.end, result.message), std::make_tuple(RunEnd::Stopped, std::string("Stopped.")));
    EXPECT_EQ(result.sources.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(bookFolder()));
}

// The failures by kind, then the readers' warnings.
TEST_F(OutputRunTest, TheEndMessageListsTheSourcesThatGaveNoPagesAndTheReadersWarnings)
{
    test::writeFile(dir / "empty.txt", "");
    test::writeFile(dir / "letter.pages", std::string("PK\x03\x04\x14\0\0\0", 8));  // a zip of no kind we read
    test::writeFile(dir / "junk.doc", std::string("\x01\x02\0\0", 4));
    test::writeFile(dir / "open.rtf", "{\\rtf1\\ansi Call me {\\b Ishmael");
    const std::vector<std::string> sources
        = {source("a.txt", 1),          (dir / "letter.pages").string(), (dir / "empty.txt").string(),
           (dir / "gone.txt").string(), (dir / "junk.doc").string(),     (dir / "open.rtf").string()};
    const std::string none = "The book Alice has no pages: no source gave any text.";  // alone, each says so
    for (const std::size_t alone : {2, 3}) {
        const auto empty = run({sources[alone]});
        EXPECT_EQ(std::tie(empty.summary, empty.book), std::make_tuple(none, BookState::None));
        EXPECT_FALSE(std::filesystem::exists(bookFolder())) << "no empty book folder";
    }
    const auto result = run(sources);
    EXPECT_EQ(result.end, RunEnd::Completed);
    EXPECT_FALSE(result.finished());
    EXPECT_EQ(result.message,
              "The book Alice was made, but not every source gave its pages.\n\nNo pages from:\n" + sources[1]
                  + ": unsupported\n" + sources[2] + ": it holds no text\n" + sources[3]
                  + ": missing (No such file or directory)\n" + sources[4]
                  + ": not converted: not a Word document: the file does not start with a compound-file header"
                  + "\n\nThe readers warned about these sources:\n" + sources[5]
                  + "\n  the document ends inside 2 unclosed groups; the text was read up to its end");
    ASSERT_EQ(result.sources.size(), 6u);
    EXPECT_EQ(pages().size(), 2u);
}

TEST_F(OutputRunTest, ARefusedRunCreatesNothingAndABlockedBookFolderEndsItAtOnce)
{
    const std::vector<std::string> sources = {source("a.txt", 1)};
    EXPECT_EQ(run(sources, "bell\a").end, RunEnd::Refused);
    EXPECT_EQ(run(sources, "bell\a").message, "bad name");
    EXPECT_EQ(run(sources, "").message, "empty name");
    EXPECT_EQ(run({}).message, "empty list");
    EXPECT_TRUE(std::filesystem::is_empty(dir / "out"));

    test::writeFile(dir / "out" / "Alice", "a file in the way");
    const auto blocked = run(sources);
    EXPECT_EQ(blocked.end, RunEnd::BookFolderFailed);
    EXPECT_TRUE(blocked.message.starts_with("no folder " + bookFolder().string() + "/: ")) << blocked.message;
    EXPECT_TRUE(blocked.sources.empty());
    // A link in the book folder's place is not followed.
    std::filesystem::remove(bookFolder());
    std::filesystem::create_directory(dir / "elsewhere");
    std::filesystem::create_directory_symlink(dir / "elsewhere", bookFolder());
    EXPECT_EQ(run(sources).end, RunEnd::BookFolderFailed);
    EXPECT_TRUE(std::filesystem::is_empty(dir / "elsewhere"));
    EXPECT_TRUE(listener.started.empty());

    // A book that another run is writing is left to it, also a new one that
    // run stages beside its folder.
    std::filesystem::remove(bookFolder());
    const std::filesystem::path beside = dir / "out" / ".Alice.leafmill-new";
    for (const auto& held : {beside, bookFolder()}) {
        std::filesystem::create_directory(held);
        FolderLock otherRun;
        std::string reason;
        ASSERT_EQ(otherRun.lock(held, &reason), FolderLock::Result::Locked) << reason;
        const auto busy = run(sources);
        EXPECT_EQ(std::tie(busy.end, busy.message),
                  std::make_tuple(RunEnd::Refused,
                                  std::string("The book Alice is being written by another run of "
                                              "Leafmill. Try again once that run has ended.")));
        EXPECT_EQ(test::entriesOf(dir / "out"), std::vector<std::string> {held.filename().string()});
        EXPECT_TRUE(std::filesystem::is_empty(held));
        otherRun.unlock();
        std::filesystem::remove(beside);
    }
    EXPECT_TRUE(run(sources).finished());

    // What a run that ended abruptly left goes; a record or staging folder of
    // the same name that Leafmill did not make stops the run instead.
    std::filesystem::create_directory(bookFolder() / ".leafmill-new");
    std::filesystem::copy_file(bookFolder() / ".leafmill.txt", bookFolder() / ".leafmill-new" / ".leafmill.txt");
    test::writeFile(bookFolder() / ".leafmill-new" / "Alice0000.txt", "half a page");
    EXPECT_TRUE(run(sources).finished());
    EXPECT_EQ(test::entriesOf(bookFolder()), (std::vector<std::string> {".leafmill.txt", "Alice0000.txt"}));
    // The same beside the book's folder, whether that was made meanwhile or
    // not; a book of that name stays.
    for (const bool made : {true, false}) {
        if (!made)
            std::filesystem::remove_all(bookFolder());
        std::filesystem::create_directories(beside / "Alice 1");
        test::writeFile(beside / ".leafmill.txt",
                        "<?xml encoding=\"UTF8\"?>\r\nLeafmill book record 1\r\n.leafmill-new/\r\n");
        test::writeFile(beside / "Alice0007.txt", "half a page");
        EXPECT_TRUE(run(sources).finished());
        EXPECT_EQ(test::entriesOf(dir / "out"), std::vector<std::string> {"Alice"});
        EXPECT_EQ(test::entriesOf(bookFolder()), (std::vector<std::string> {".leafmill.txt", "Alice0000.txt"}));
    }
    EXPECT_TRUE(run(sources, beside.filename().string()).finished());
    for (const bool made : {true, false}) {
        if (!made)
            std::filesystem::remove_all(bookFolder());
        EXPECT_TRUE(run(sources).finished());
        EXPECT_EQ(test::entriesOf(beside), (std::vector<std::string> {".Alice.leafmill-new0000.txt", ".leafmill.txt"}));
    }
    for (const char* foreign : {".leafmill-new/.leafmill.txt", ".leafmill.txt"}) {
        std::filesystem::create_directory(bookFolder() / ".leafmill-new");
        test::writeFile(bookFolder() / foreign, "the user's own notes");
        EXPECT_EQ(run(sources).end, RunEnd::BookFolderFailed) << foreign;
        EXPECT_EQ(test::readFile(bookFolder() / foreign), "the user's own notes");
    }
}

// A kind of book the engine was not written for: shorter pages under another
// stem, an index written once the book is known, its own end section; it
// refuses a book named "Refused".
class IndexedPages : public OutputTarget {
public:
    bool layOut(const std::string& bookName, PageLayout* layout, Refusal* refusal) override
    {
        if (bookName == "Refused") {
            *refusal = {36, {{"@Reason", "no index"}}};
            return false;
        }
        *layout = PageLayout();
        layout->stem = "Indexed " + bookName + " ";
        layout->pageSize = 60;
        return true;
    }
    bool finish(const CutPages& pages, FinishedBook* made, std::string* /*error*/) override
    {
        std::string index;
        for (std::size_t i = 0; i < pages.count; ++i)
            index += pages.nameOf(i) + "\n";
        test::writeFile(std::filesystem::path(pages.folder) / "index", index);
        made->notes = pages.count + 1;
        return true;
    }
    int64_t notesToLoad(const std::string& /*outputFolder*/, int64_t bookNotes) const override { return bookNotes * 2; }
    std::vector<MessageSection> endSections(const LanguageTable& /*language*/, const RunResult& result) const override
    {
        return {{"Index", {std::to_string(result.notes) + " notes"}}};
    }
};

TEST_F(OutputRunTest, ANewTargetNeedsNoChangeOfTheEngine)
{
    makeTarget = [] { return std::make_unique<IndexedPages>(); };
    const auto refused = run({source("a.txt", 4)}, "Refused");
    EXPECT_EQ(std::tie(refused.end, refused.message),
              std::make_tuple(RunEnd::Refused, std::string("not converted: no index")));
    EXPECT_TRUE(std::filesystem::is_empty(dir / "out"));

    const auto result = run({source("a.txt", 4)});
    const auto written = pagesIn(bookFolder(), "Indexed Alice ");
    ASSERT_EQ(written.size(), 2u);
    for (const auto& page : written)
        EXPECT_LE(page.bytes.size(), 62u) << page.name;
    EXPECT_EQ(test::readFile(bookFolder() / "index"), "Indexed Alice 0000.txt\nIndexed Alice 0001.txt\n");
    EXPECT_EQ(std::tie(result.notes, result.notesToLoad), std::make_tuple(int64_t {3}, int64_t {6}));
    EXPECT_EQ(result.message, kDone + "\n\nIndex\n3 notes");
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
    const auto result = run(sources);
    EXPECT_EQ(result.end, RunEnd::Completed);
    EXPECT_EQ(result.message,
              kDone + "\n" + sources[2] + " was written as tale.of.two (2).txt, as another source has the same name.");
    EXPECT_EQ(test::readFile(bookFolder() / "long.txt").size(), 20u * 30u + 2u);
    EXPECT_EQ(test::readFile(bookFolder() / "tale.of.two.txt"), "first\r\n\r\n");
    EXPECT_EQ(test::readFile(bookFolder() / "tale.of.two (2).txt"), "second\r\n\r\n");
    EXPECT_EQ(result.pageCount, 3);
    // A run again writes the same names and removes nothing.
    EXPECT_EQ(run(sources).message, result.message);
    EXPECT_EQ(test::entriesOf(bookFolder()).size(), 4u) << "the pages and the book's record";
}

}  // namespace
}  // namespace leafmill
