// leafmill-cli run as a person runs it: its exit status, its messages and
// the files it leaves, also when the disk fills up or a signal comes.
#include "ChildProcess.h"
#include "FolderEntries.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32

namespace leafmill {
namespace {

namespace fs = std::filesystem;
using test::ChildResult;
using test::ChildSetup;
using test::entriesOf;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class CliTest : public ::testing::Test {
protected:
    CliTest()
    {
        // Pages of 100 bytes, cut at a line end in their last 20.
        test::writeFile(settings,
                        "[MainSettings]\r\nCodePage=windows-1252\r\nCutTypeNum=0\r\n"
                        "SingleFileSize0=100\r\nInOutFileSize0=20\r\nFilter=All|*.*\r\nCutWordNum=0\r\n"
                        "[UserSettings]\r\nMyLagIndex=English\r\nOpenFilesFilterIndex=1\r\n"
                        "CutTypeIndex=0\r\nBookName=\r\nKeepFileSize=0\r\nInPutDir=\r\nOutPutDir=\r\n"
                        "CutWord0=enter\r\n");
        fs::create_directory(out);
        fs::create_directory(temp);
    }

    // The documents' temporary files go to `temp`.
    ChildResult run(const std::vector<std::string>& arguments, ChildSetup setup = {})
    {
        setup.environment.emplace_back("TEMP", temp.string());
        return test::runProgram(LEAFMILL_CLI, arguments, setup);
    }
    std::vector<std::string> book(const std::string& name, const std::vector<std::string>& sources)
    {
        // Values after '=' here, as separate arguments in the other tests.
        std::vector<std::string> arguments
            = {"--settings=" + settings.string(), "--book=" + name, "--out", out.string()};
        arguments.insert(arguments.end(), sources.begin(), sources.end());
        return arguments;
    }
    std::string source(const std::string& name, const std::string& text)
    {
        test::writeFile(dir / name, text);
        return (dir / name).string();
    }
    // `count` lines of 30 bytes: 3 lines to a page.
    std::string lines(const std::string& name, int count)
    {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += std::string(28, static_cast<char>('a' + i)) + "\r\n";
        return source(name, text);
    }
    std::string rtf(const std::string& name, int paragraphs)
    {
        std::string text = "{\\rtf1\\ansi ";
        for (int i = 0; i < paragraphs; ++i)
            text += "Call me Ishmael. \\par ";
        return source(name, text + "}");
    }

    test::TempDir dir;
    fs::path settings = dir / "settings.ini";
    fs::path out = dir / "out";
    fs::path temp = dir / "temp";
};

// Runs that end before any book is made: what they print, and that they leave no file.
TEST_F(CliTest, QuickRunsExitWithTheirStatusAndMessage)
{
    const std::string text = source("a.txt", "x\r\n"), folder = out.string(), s = "--settings=" + settings.string();
    test::writeFile(out / "B", "a file where the book folder goes");
    // A conversion to text reads the code page alone, so other broken settings do not stop it.
    const std::string cyrillic
        = "--settings=" + source("cyrillic.ini", "[MainSettings]\r\nCodePage=ISO-8859-5\r\nCutTypeNum=many\r\n");
    const std::string klingon = "--settings=" + source("klingon.ini", "[MainSettings]\r\nCodePage=klingon-1\r\n");
    const struct {
        std::vector<std::string> arguments;
        int exitStatus;
        std::string out;  // part of stdout; empty: stdout is empty
        const char* err;  // part of stderr
    } cases[] = {
        {{"--help"}, 0, "--book NAME --out FOLDER SOURCE...", ""},
        {{"-h"}, 0, "--book NAME --out FOLDER SOURCE...", ""},
        {{"--version"}, 0, "leafmill-cli 1.60\n", ""},
        {{}, 2, "", "Usage:"},
        {{"--book", "A", text}, 2, "", "Usage:"},
        {{"--book", "A", "--out", folder}, 2, "", "Usage:"},
        {{"--text", text, text}, 2, "", "Usage:"},
        {{"--frobnicate"}, 2, "", "Usage:"},
        {{"--help", "--version"}, 2, "", "Usage:"},
        {{"--book"}, 2, "", "Usage:"},
        {{"--links", "--no-links", "--book", "A", "--out", folder, text}, 2, "", "Usage:"},
        {{"--encoding"}, 2, "", "Usage:"},
        {{"--book=A", "--book=B", "--out=" + folder, text}, 2, "", "Usage:"},
        {{s, "--book", "A", "--out", (dir / "nowhere").string(), text}, 2, "", "nowhere"},
        {book("B", {text}), 2, "", "The book folder"},
        {book("../escape", {text}), 2, "", "A book name cannot "},
        {{"--settings", (dir / "none.ini").string(), "--book", "A", "--out", folder, text}, 2, "", "none.ini"},
        {{s, "--text", source("a.text", "caf\xe9\r\nlone\rlf\n")}, 0, "caf\xe9\r\nlone\rlf\n", ""},
        {{s, "--text", source("p.html", "<p>Caf&eacute; au lait</p>")}, 0, "Caf\xe9 au lait", ""},
        {{s, "--text", source("a.docx", std::string("PK\x03\x04", 4))}, 1, "", "a.docx"},
        {{s, "--text", (dir / "gone.htm").string()}, 1, "", "gone.htm"},
        {{cyrillic, "--text", source("zh.htm", "&#1078;")}, 0, "\xd6", ""},
        {{klingon, "--text", text}, 2, "", "key CodePage: "},
        // Text in another encoding is put into the code page; the setting overrides what the bytes say.
        {{cyrillic, "--text",
          source("ru.txt", "\xcf\xf0\xe8\xe2\xe5\xf2 \xec\xe8\xf0, \xea\xe0\xea \xe4\xe5\xeb\xe0?")},
         0,
         "\xbf\xe0\xd8\xd2\xd5\xe2 \xdc\xd8\xe0, \xda\xd0\xda \xd4\xd5\xdb\xd0?",
         "read as windows-1251"},
        {{cyrillic, "--source-encoding", "windows-1251", "--text", source("pr.txt", "\xcf\xf0")}, 0, "\xbf\xe0", ""},
        {{s, "--source-encoding=klingon-9", "--text", text}, 2, "", "--source-encoding: \"klingon-9\""},
    };
    for (const auto& c : cases) {
        const ChildResult result = run(c.arguments);
        const std::string said = (c.arguments.empty() ? "" : c.arguments.back()) + ": " + result.err;
        EXPECT_EQ(result.exitStatus, c.exitStatus) << said;
        EXPECT_TRUE(c.out.empty() ? result.out.empty() : contains(result.out, c.out)) << said << result.out;
        EXPECT_TRUE(contains(result.err, c.err)) << said;
    }
    EXPECT_EQ(entriesOf(dir.path()),
              (std::vector<std::string> {"a.docx", "a.text", "a.txt", "cyrillic.ini", "klingon.ini", "out", "p.html",
                                         "pr.txt", "ru.txt", "settings.ini", "temp", "zh.htm"}));
    EXPECT_EQ(entriesOf(out), std::vector<std::string> {"B"});
}

TEST_F(CliTest, ARunWritesTheBookNamesTheFailedSourcesAndLeavesTheSettingsAlone)
{
    const std::string before = test::readFile(settings);
    const auto stamp = fs::last_write_time(settings);
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += "line " + std::to_string(i) + " of the book\r\n";
    const std::string pages = source("letter.pages", "PK"), gone = (dir / "gone.txt").string();
    const ChildResult result = run(book("Alice", {source("a.txt", text), pages, source("b.TXT", "second\r\n"), gone}));
    EXPECT_EQ(result.exitStatus, 1);
    // The end message on stdout; the failures once, on stderr, and no progress when it is not a terminal.
    EXPECT_EQ(result.out, "The book Alice is finished.\n");
    EXPECT_EQ(result.err,
              "leafmill-cli: These sources gave no pages:\nleafmill-cli: " + pages
                  + ": not a kind of document Leafmill reads\nleafmill-cli: " + gone
                  + ": the file is missing or cannot be read (No such file or directory)\n");
    EXPECT_TRUE(fs::exists(out / "Alice" / "Alice0000.txt"));
    EXPECT_EQ(test::readFile(out / "Alice" / "Alice0002.txt"), "second\r\n\r\n");
    EXPECT_EQ(test::readFile(settings), before);
    EXPECT_EQ(fs::last_write_time(settings), stamp);
}

TEST_F(CliTest, PageChoicesOverrideTheSettingsAndTheReadersLimitsAreWarned)
{
    // Pages longer than the reader shows, in a Notes folder with no room left.
    std::string text = test::readFile(settings);
    text.replace(text.find("SingleFileSize0=100"), 19, "SingleFileSize0=5000");
    test::writeFile(settings, text);
    const fs::path notes = dir / "ipod" / "Notes";
    fs::create_directories(dir / "ipod" / "iPod_Control");
    fs::create_directories(notes);
    for (int i = 0; i < 1000; ++i)
        test::writeFile(notes / ("n" + std::to_string(i) + ".txt"), "x");
    const std::string long_ = source("a.txt", std::string(6000, 'x') + "\r\n");
    const struct {
        std::vector<std::string> choices;
        const char *firstPageHas, *firstPageLacks;
        bool warned;
    } cases[] = {
        {{}, "xxxxxxxx", "<", false},
        {{"--links", "--no-titles"}, "<A HREF=\"A0001.txt\" NOPUSH>Next</A>", "<TITLE>", true},
        {{"--titles", "--no-links", "--contents", "--encoding", "Latin-1"}, "<TITLE>a - 1/2</TITLE>", "<A HREF", true},
    };
    for (const auto& c : cases) {
        std::vector<std::string> arguments
            = {"--settings", settings.string(), "--book", "A", "--out", notes.string(), long_};
        arguments.insert(arguments.end() - 1, c.choices.begin(), c.choices.end());
        const ChildResult result = run(arguments);
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        const std::string page = test::readFile(notes / "A" / "A0000.txt");
        EXPECT_TRUE(contains(page, c.firstPageHas) && !contains(page, c.firstPageLacks)) << page.substr(0, 80);
        EXPECT_EQ(fs::exists(notes / "A" / "00 Contents.txt"), contains(c.firstPageHas, "TITLE"));
        EXPECT_EQ(result.err.empty(), !c.warned) << result.err;
        EXPECT_EQ(contains(result.err, "warning: A page size of 5000 bytes")
                      && contains(result.err, "the Notes reader loads only 0 more"),
                  c.warned)
            << result.err;
    }
    const ChildResult unknown = run(
        {"--settings", settings.string(), "--encoding", "Klingon", "--book", "B", "--out", notes.string(), long_});
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_TRUE(contains(unknown.err, "Klingon")) << unknown.err;
    EXPECT_FALSE(fs::exists(notes / "B")) << "a refused run leaves no book folder";
}

TEST_F(CliTest, AFullDiskFailsTheSourceItHitsAndLeavesNoPageCutShort)
{
    // The first page (32 bytes) passes the limit; the second source's first page (92) does not.
    const std::string small = lines("small.txt", 1), big = lines("big.txt", 9);
    ChildSetup full;
    full.fileSizeLimit = 50;
    const ChildResult result = run(book("Cut", {small, big}), full);
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_TRUE(contains(result.err, big + ": ") && !contains(result.err, small)) << result.err;
    EXPECT_TRUE(contains(result.err, "File too large")) << result.err;
    EXPECT_EQ(entriesOf(out / "Cut"), std::vector<std::string> {"Cut0000.txt"});
    EXPECT_EQ(test::readFile(out / "Cut" / "Cut0000.txt"), std::string(28, 'a') + "\r\n\r\n");
}

TEST_F(CliTest, AnUnusableTemporaryFolderFailsTheDocumentsButNotTheTexts)
{
    const std::string document = rtf("c.rtf", 2), text = lines("d.txt", 2);
    fs::remove(temp);
    test::writeFile(temp, "a file where the temporary folder should be");
    const ChildResult result = run(book("Book", {document, text}));
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_TRUE(contains(result.err, document + ": ")) << result.err;
    EXPECT_TRUE(contains(result.err, "temporary file")) << result.err;
    EXPECT_FALSE(contains(result.err, text)) << result.err;
    EXPECT_EQ(entriesOf(out / "Book"), std::vector<std::string> {"Book0000.txt"});
}

TEST_F(CliTest, SigintAndSigtermStopTheRunAfterAWholePageAndLeaveNoTemporaryFile)
{
    // A long document: its text goes through a temporary file while it is cut.
    const std::string document = rtf("long.rtf", 400'000);
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        const std::string name = "Book" + std::to_string(signalNumber);
        const fs::path bookFolder = out / name;
        ChildSetup setup;
        setup.meanwhile = [&](int child) {
            // Signal once the cut is under way.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
            std::error_code ec;
            while (!fs::exists(bookFolder / (name + "0010.txt"), ec) && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            kill(child, signalNumber);
        };
        const ChildResult result = run(book(name, {document}), setup);
        EXPECT_EQ(result.exitStatus, 128 + signalNumber) << result.err;
        EXPECT_EQ(result.out, "The output was stopped.\n");
        EXPECT_TRUE(entriesOf(temp).empty());
        const std::vector<std::string> pages = entriesOf(bookFolder);
        ASSERT_GE(pages.size(), 10u);  // the page being written may be the one removed
        EXPECT_LT(pages.size(), 90'000u) << "the run was not stopped";
        // Every page is whole: its lines are the source's, the last one ends.
        for (const std::string& page : pages) {
            const std::string text = test::readFile(bookFolder / page);
            EXPECT_TRUE(text.starts_with("Call me Ishmael.") && text.ends_with("\r\n")) << page << ": " << text;
        }
    }
}

}  // namespace
}  // namespace leafmill

#endif
