// leafmill-cli run as a person runs it: its exit status, its messages and
// the files it leaves, also when the disk fills up or a signal comes.
#include "ChildProcess.h"
#include "FolderEntries.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
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
using test::repeated;

constexpr const char* kTryHelp = "\nTry 'leafmill-cli --help' for more information.\n";

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
    // A second row whose shortest cut (100 - 80) is not above the 20 bytes repeated.
    std::string keeping = test::readFile(settings);
    keeping.replace(keeping.find("CutTypeNum=0"), 12, "CutTypeNum=1\r\nSingleFileSize1=100\r\nInOutFileSize1=80");
    keeping
        = "--settings=" + source("keep.ini", keeping.replace(keeping.find("KeepFileSize=0"), 14, "KeepFileSize=20"));
    const struct {
        std::vector<std::string> arguments;
        int exitStatus;
        std::string out;  // part of stdout; empty: stdout is empty
        const char* err;  // part of stderr
    } cases[] = {
        {{"--help"}, 0, "--book NAME --out FOLDER SOURCE...", ""},
        {{"-h"}, 0, "--book NAME --out FOLDER SOURCE...", ""},
        {{"--version"}, 0, "leafmill-cli 1.60\n", ""},
        {{}, 2, "", kTryHelp},
        {{"--book", "A", text}, 2, "", kTryHelp},
        {{"--book", "A", "--out", folder}, 2, "", kTryHelp},
        {{"--text", text, text}, 2, "", kTryHelp},
        {{"--frobnicate"}, 2, "", kTryHelp},
        {{"--help", "--version"}, 2, "", kTryHelp},
        {{"--book"}, 2, "", kTryHelp},
        {{"--links", "--no-links", "--book", "A", "--out", folder, text}, 2, "", kTryHelp},
        {{"--encoding"}, 2, "", kTryHelp},
        {{"--book=A", "--book=B", "--out=" + folder, text}, 2, "", kTryHelp},
        {{"--book", "A", "--out", folder, "-", "-"}, 2, "", kTryHelp},
        {{"--format", "txt", "--text", text}, 2, "", kTryHelp},
        {{"--format", "pages", "--text", "-"}, 2, "", kTryHelp},
        {{"--page-size", "4k", "--book", "A", "--out", folder, text}, 2, "", kTryHelp},
        {{"--page-size", "150", "--text", text}, 2, "", kTryHelp},
        {{s, "--page-size", "1", "--book", "A", "--out", folder, text}, 2, "", "has rows 0 to 0"},
        {{keeping, "--page-size", "1", "--book", "A", "--out", folder, text}, 2, "", "a page would not move on"},
        {{s, "--book", "A", "--out", (dir / "nowhere").string(), text}, 2, "", "nowhere"},
        {book("B", {text}), 2, "", "The book folder"},
        {book("../escape", {text}), 2, "", "A book name cannot "},
        {{"--settings", (dir / "none.ini").string(), "--book", "A", "--out", folder, text}, 2, "", "none.ini"},
        {{s, "--text", source("a.text", "caf\xe9\r\nlone\rlf\n")}, 0, "caf\xe9\r\nlone\rlf\n", ""},
        {{s, "--text", source("p.html", "<p>Caf&eacute; au lait</p>")}, 0, "Caf\xe9 au lait", ""},
        {{s, "--text", source("README", "{\\rtf1 read by its content}")}, 0, "read by its content\r\n", ""},
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
        // A usage error is its reason and where to look, not the whole help.
        const bool usage = std::string_view(c.err) == kTryHelp;
        EXPECT_TRUE(!usage || std::count(result.err.begin(), result.err.end(), '\n') == 2) << said;
    }
    EXPECT_EQ(
        entriesOf(dir.path()),
        (std::vector<std::string> {"README", "a.docx", "a.text", "a.txt", "cyrillic.ini", "keep.ini", "klingon.ini",
                                   "out", "p.html", "pr.txt", "ru.txt", "settings.ini", "temp", "zh.htm"}));
    EXPECT_EQ(entriesOf(out), std::vector<std::string> {"B"});
}

TEST_F(CliTest, ARunWritesTheBookNamesTheFailedSourcesAndLeavesTheSettingsAlone)
{
    const std::string before = test::readFile(settings);
    const auto stamp = fs::last_write_time(settings);
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += "line " + std::to_string(i) + " of the book\r\n";
    const std::string pages = source("letter.pages", std::string("PK\x03\x04\x14\0\0\0", 8));
    const std::string gone = (dir / "gone.txt").string();
    const ChildResult result = run(book(
        "Alice", {source("a.txt", text), pages, source("b.TXT", "second\r\n"), gone, source("notes", "third\r\n")}));
    EXPECT_EQ(result.exitStatus, 1);
    // The end message on stdout; the failures once, on stderr, and no progress when it is not a terminal.
    EXPECT_EQ(result.out, "The book Alice was made, but not every source gave its pages.\n");
    EXPECT_EQ(result.err,
              "leafmill-cli: These sources gave no pages:\nleafmill-cli: " + pages
                  + ": not a kind of document Leafmill reads\nleafmill-cli: " + gone
                  + ": the file is missing or cannot be read (No such file or directory)\n");
    EXPECT_TRUE(fs::exists(out / "Alice" / "Alice0000.txt"));
    EXPECT_EQ(test::readFile(out / "Alice" / "Alice0002.txt"), "second\r\n\r\n");
    EXPECT_EQ(test::readFile(out / "Alice" / "Alice0003.txt"), "third\r\n\r\n");
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
                      && contains(result.err, "the Notes reader loads only 0."),
                  c.warned)
            << result.err;
    }
    const ChildResult unknown = run(
        {"--settings", settings.string(), "--encoding", "Klingon", "--book", "B", "--out", notes.string(), long_});
    EXPECT_EQ(unknown.exitStatus, 2);
    EXPECT_TRUE(contains(unknown.err, "Klingon")) << unknown.err;
    EXPECT_FALSE(fs::exists(notes / "B")) << "a refused run leaves no book folder";
}

// One page choice alone is still a choice: a hard-wrapped paragraph is joined.
TEST_F(CliTest, AJoinLinesChoiceAloneOverridesTheSettings)
{
    const std::string wrapped = source("w.txt",
                                       "The salt road ran east from the village\r\n"
                                       "through marshes where the ground was white\r\n"
                                       "in summer and grey in winter, and carts\r\n"
                                       "had worn two deep tracks into it.\r\n");
    for (const bool join : {false, true}) {
        std::vector<std::string> arguments = {"--settings", settings.string(), "--book", "W", "--out", out.string()};
        if (join)
            arguments.push_back("--join-lines");
        arguments.push_back(wrapped);
        fs::remove_all(out / "W");
        const ChildResult result = run(arguments);
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_EQ(contains(test::readFile(out / "W" / "W0000.txt"), "village through"), join);
    }
}

// --check reads a folder as the Notes reader set to the encoding does: 0 when
// it finds nothing, 1 with what it finds, 2 when there is nothing to read.
TEST_F(CliTest, CheckSaysWhatTheNotesReaderWouldFind)
{
    const fs::path clean = dir / "clean", faulty = dir / "faulty";
    fs::create_directories(clean);
    fs::create_directories(faulty);
    test::writeFile(clean / "a.txt", "<A HREF=\"b.txt\">b</A>");
    test::writeFile(clean / "b.txt", "\xD6\xD0");
    test::writeFile(faulty / "a.txt", "<A HREF=\"gone.txt\">x</A> \xA8\x43");
    const std::string s = "--settings=" + settings.string();
    const struct {
        std::vector<std::string> arguments;
        int exitStatus;
        std::string out;
        const char* err;
    } cases[] = {
        {{s, "--check", clean.string()}, 0, "The Notes reader finds nothing wrong in " + clean.string() + ".\n", ""},
        {{s, "--check", faulty.string()},
         1,
         "a.txt: the link to \"gone.txt\" leads to no note the reader loads.\n",
         ""},
        {{s, "--check", faulty.string(), "--encoding", "GB2312"}, 1, "a.txt: 1 bytes are no characters of GB2312", ""},
        {{s, "--check", (dir / "nowhere").string()}, 2, "", "nowhere"},
        {{s, "--check", clean.string(), "--links"}, 2, "", "Try 'leafmill-cli --help'"},
    };
    for (const auto& c : cases) {
        const ChildResult result = run(c.arguments);
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        EXPECT_TRUE(c.out.empty() ? result.out.empty() : contains(result.out, c.out)) << result.out;
        EXPECT_TRUE(contains(result.err, c.err)) << result.err;
    }
}

// The iPod commands on an iPod given by --to: what they say, their exit
// statuses, and the other programs' folder left alone.
TEST_F(CliTest, IPodCommandsExitWithTheirOutcome)
{
    const fs::path ipod = dir / "IPOD", emma = dir / "Emma";
    fs::create_directories(ipod / "iPod_Control");
    fs::create_directories(ipod / "Notes" / "Theirs");
    test::writeFile(ipod / "Notes" / "Theirs" / "a.txt", "theirs");
    fs::create_directories(emma);
    test::writeFile(emma / "Emma0.txt", "page");
    test::writeFile(emma / ".leafmill.txt", "Leafmill book record 1\r\nEmma0.txt\r\n");
    const std::string s = "--settings=" + settings.string(), to = "--to=" + ipod.string();
    const struct {
        std::vector<std::string> arguments;
        int exitStatus;
        const char* out;
        const char* err;
    } cases[] = {
        {{s, "--send", emma.string(), to}, 0, "Emma is on the iPod now (1 pages).\n", ""},
        {{s, "--next-volume", emma.string(), to}, 1, "", "Emma is not in volumes"},
        {{s, "--remove", "Theirs", to}, 1, "", "Theirs on the iPod was not made by Leafmill"},
        {{s, "--remove", "Emma", to}, 0, "Emma was removed from the iPod (1 files).\n", ""},
        {{s, "--send", emma.string(), "--to", emma.string()}, 2, "", "is no iPod"},
        {{s, "--send", emma.string(), "--remove", "Emma", to}, 2, "", kTryHelp},
        {{s, "--ipods", to}, 2, "", kTryHelp},
        {{s, to}, 2, "", kTryHelp},
    };
    for (const auto& c : cases) {
        const ChildResult result = run(c.arguments);
        EXPECT_EQ(result.exitStatus, c.exitStatus) << result.err;
        EXPECT_EQ(result.out, c.out);
        EXPECT_TRUE(contains(result.err, c.err)) << result.err;
    }
    EXPECT_EQ(entriesOf(ipod / "Notes"), std::vector<std::string> {"Theirs"});
    EXPECT_EQ(test::readFile(ipod / "Notes" / "Theirs" / "a.txt"), "theirs");
}

// "-" is standard input, its kind told by --format (checked against the content as a file's ending is) or by the
// content; a book takes it under its own name and leaves no copy of it behind.
TEST_F(CliTest, StandardInputIsReadAsItsFormatOrContentSays)
{
    const std::string document = rtf("in.rtf", 2), page = source("in.page", "<p>Caf&eacute;</p>");
    const std::string junk = source("in.bin", std::string("\x01\x02\0\0\x05", 5)),
                      s = "--settings=" + settings.string();
    const struct {
        std::vector<std::string> arguments;
        std::string input;
        int exitStatus;
        const char *out, *err;
    } cases[] = {
        {{s, "--text", "-"}, document, 0, "Call me Ishmael. \r\nCall me Ishmael. \r\n", ""},
        {{s, "--text", "-"}, page, 0, "\r\nCaf\xe9\r\n", ""},
        {{s, "--format", "TXT", "--text", "-"}, page, 0, "<p>Caf&eacute;</p>", ""},
        {{s, "--format", "md", "--text", "-"}, source("in", "# Caf\xc3\xa9 *au lait*\n"), 0, "Caf\xe9 au lait\r\n", ""},
        {{s, "--format=html", "--text", "-"},
         document,
         0,
         "Call me",
         "standard input: warning: read as an RTF document although its name ends in .html"},
        {{s, "--text", "-"}, junk, 1, "", "leafmill-cli: standard input: not a kind of document"},
        {book("Piped", {lines("first.txt", 1), "-"}), document, 0, "The book Piped is finished.\n", ""},
        {book("Junk", {"-"}), junk, 1, "", "leafmill-cli: standard input: not a kind of document Leafmill reads"},
        {book("Folder", {"-"}), temp.string(), 2, "", "leafmill-cli: standard input could not be read: Is a directory"},
    };
    for (const auto& c : cases) {
        ChildSetup setup;
        setup.standardInput = c.input;
        const ChildResult result = run(c.arguments, setup);
        EXPECT_EQ(result.exitStatus, c.exitStatus) << c.input << ": " << result.err;
        EXPECT_EQ(result.out.empty() ? "" : result.out.substr(0, std::strlen(c.out)), c.out) << c.input;
        EXPECT_TRUE(contains(result.err, c.err)) << c.input << ": " << result.err;
        EXPECT_TRUE(entriesOf(temp).empty()) << c.input;
    }
    // The piped document is the book's second chapter, named after the book.
    EXPECT_EQ(test::readFile(out / "Piped" / "Piped0001.txt"), "Call me Ishmael. \r\nCall me Ishmael. \r\n\r\n\r\n");
}

// --page-size picks a row of the table (a whole-file row switches whole-file mode on, any other off) or a page
// size in bytes, cut with the window of the row of that size, else of a tenth of it, for one run.
TEST_F(CliTest, PageSizeChoosesARowOrAByteSizeForOneRun)
{
    std::string text = test::readFile(settings);
    text.replace(text.find("CutTypeNum=0"), 12, "CutTypeNum=1\r\nSingleFileSize1=0\r\nInOutFileSize1=0");
    text.replace(text.find("CutTypeIndex=0"), 14, "CutTypeIndex=1");
    test::writeFile(settings, text);
    std::string lines42;
    for (int i = 0; i < 9; ++i)
        lines42 += std::string(40, static_cast<char>('a' + i)) + "\r\n";
    const std::string source42 = source("lines.txt", lines42);  // line ends at 42, 84, 126...
    const auto listing = [](const fs::path& folder) {
        std::string pages;
        for (const std::string& page : entriesOf(folder))
            if (page != ".leafmill.txt")
                pages += page + " " + std::to_string(fs::file_size(folder / page)) + ", ";
        return pages;
    };
    const struct {
        std::vector<std::string> choice;
        std::string pages;  // each with its size: the page and its closing line end
    } cases[] = {
        {{}, "lines.txt 380, "},
        {{"--page-size", "0"}, "W0000.txt 86, W0001.txt 86, W0002.txt 86, W0003.txt 86, W0004.txt 44, "},
        {{"--page-size", "100"}, "W0000.txt 86, W0001.txt 86, W0002.txt 86, W0003.txt 86, W0004.txt 44, "},
        {{"--page-size=150"}, "W0000.txt 152, W0001.txt 146, W0002.txt 86, "},
        {{"--page-size", "1"}, "lines.txt 380, "},
    };
    for (const auto& c : cases) {
        fs::remove_all(out / "W");
        std::vector<std::string> arguments = book("W", {source42});
        arguments.insert(arguments.begin(), c.choice.begin(), c.choice.end());
        const ChildResult result = run(arguments);
        ASSERT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_EQ(listing(out / "W"), c.pages) << (c.choice.empty() ? "" : c.choice.back());
    }
    // Standard input's whole-file page is named after the book.
    ChildSetup piped;
    piped.standardInput = source42;
    EXPECT_EQ(run(book("Piped", {"-"}), piped).exitStatus, 0);
    EXPECT_EQ(listing(out / "Piped"), "Piped.txt 380, ");
}

TEST_F(CliTest, AFullDiskFailsTheSourceItHitsAndLeavesTheEarlierBookWhole)
{
    // The first page (32 bytes) and the record (63) pass the limit; the second source's first page (92) does not.
    const std::string small = lines("small.txt", 1), big = lines("big.txt", 9);
    ChildSetup full;
    full.fileSizeLimit = 80;
    for (const bool earlier : {false, true}) {
        const ChildResult result = run(book("Cut", {small, big}), full);
        EXPECT_EQ(result.exitStatus, 1) << result.err;
        EXPECT_TRUE(contains(result.err, big + ": ") && !contains(result.err, small)) << result.err;
        EXPECT_TRUE(contains(result.err, "File too large")) << result.err;
        EXPECT_EQ(result.out,
                  earlier ? "The book Cut was not replaced: not every source gave its pages, so the earlier "
                            "book stays as it was.\n"
                          : "The book Cut was made, but not every source gave its pages.\n");
        EXPECT_EQ(entriesOf(out / "Cut"), (std::vector<std::string> {".leafmill.txt", "Cut0000.txt"}));
        EXPECT_EQ(test::readFile(out / "Cut" / "Cut0000.txt"), std::string(28, 'a') + "\r\n\r\n");
    }
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
    EXPECT_EQ(entriesOf(out / "Book"), (std::vector<std::string> {".leafmill.txt", "Book0000.txt"}));
}

// The documents that once crashed the run, hung it or filled the memory:
// each gives its pages or fails with a reason, and the run goes on.
TEST_F(CliTest, HostileSourcesGiveTheirPagesOrFailWithAReason)
{
    const fs::path hostile = test::hostileDir();
    // A page that saves the graphics state a million times and never restores it.
    const std::string saves = repeated("q ", 1'500'000);
    const std::string pdf = "%PDF-1.4\n1 0 obj << /Type /Catalog /Pages 2 0 R >> endobj\n2 0 obj << /Type /Pages /Kids "
                            "[3 0 R] /Count 1 >> endobj\n3 0 obj << /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] "
                            "/Contents 4 0 R >> endobj\n4 0 obj << /Length "
        + std::to_string(saves.size()) + " >> stream\n" + saves + "\nendstream endobj\ntrailer << /Root 1 0 R >>\n";
    const struct {
        std::string path;
        const char* said;  // why it failed; null: it gave its pages
    } cases[] = {
        {lines("first.txt", 4), nullptr},
        {source("empty.html", ""), "it holds no text"},
        {(hostile / "spaces.odt").string(), nullptr},
        {source("saves.pdf", pdf), "it is too large or too complex to read: it needed more than 569 MB"},
        {(hostile / "paragraphs.epub").string(), "it could not be converted: the package's part OEBPS/c1.xhtml holds"},
        {(hostile / "unreadable.docx").string(), "it holds no text"},
        {(hostile / "forms.pdf").string(), nullptr},
        {(hostile / "same.pdf").string(), nullptr},
    };
    std::vector<std::string> arguments = {"--contents"};
    for (const auto& c : cases)
        arguments.push_back(c.path);
    const ChildResult result = run(book("Hostile", arguments));
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_EQ(result.out, "The book Hostile was made, but not every source gave its pages.\n");
    for (const auto& c : cases)
        EXPECT_EQ(contains(result.err, c.path + ": " + (c.said ? c.said : "")), c.said != nullptr) << c.path << "\n"
                                                                                                   << result.err;
    // The first contents note: "00 Contents.txt", or "00 Contents 1.txt" when it has parts.
    const std::vector<std::string> names = entriesOf(out / "Hostile");
    const auto first
        = std::find_if(names.begin(), names.end(), [](const std::string& n) { return n.starts_with("00 "); });
    ASSERT_NE(first, names.end());
    const std::string contents = test::readFile(out / "Hostile" / *first);
    EXPECT_TRUE(contains(contents, "first") && !contains(contents, "empty")) << contents;

    // A run that gives no text fails and leaves no book folder.
    const ChildResult none = run(book("None", {source("nothing.txt", "")}));
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_FALSE(fs::exists(out / "None"));
}

// A stop ends the run at once, while a page is cut or a reader works; every
// page written so far is whole and no temporary file is left.
TEST_F(CliTest, SigintAndSigtermStopTheRunAtOnceWithWholePages)
{
    // A long document: its text goes through a temporary file while it is cut.
    const std::string first = lines("first.txt", 4), document = rtf("long.rtf", 400'000);
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        for (const bool whileReading : {false, true}) {
            const std::string name = "Book" + std::to_string(signalNumber) + (whileReading ? "r" : "c");
            const fs::path staging = out / ("." + name + ".leafmill-new");  // a new book is staged beside
            ChildSetup setup;
            setup.meanwhile = [&](int child) {
                // Signal once the long document's reader works, or once its cut is under way.
                const std::string readers
                    = "/proc/" + std::to_string(child) + "/task/" + std::to_string(child) + "/children";
                const auto reading = [&] {
                    std::ifstream list(readers);
                    return list.peek() != std::ifstream::traits_type::eof();
                };
                const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(120);
                std::error_code ec;
                while (!(whileReading ? fs::exists(staging / (name + "0001.txt"), ec) && reading()
                                      : fs::exists(staging / (name + "0010.txt"), ec))
                       && std::chrono::steady_clock::now() < deadline)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                kill(child, signalNumber);
            };
            const ChildResult result = run(book(name, {"--contents", first, document}), setup);
            EXPECT_EQ(result.exitStatus, 128 + signalNumber) << name << result.err;
            EXPECT_TRUE(result.out.starts_with("The output was stopped. The ")) << result.out;
            EXPECT_TRUE(entriesOf(temp).empty());
            std::vector<std::string> pages = entriesOf(out / name);
            ASSERT_EQ(pages.front(), ".leafmill.txt") << name;
            pages.erase(pages.begin());
            ASSERT_GE(pages.size(), whileReading ? 2u : 10u) << name;
            EXPECT_LT(pages.size(), 90'000u) << "the run was not stopped";
            // Every page is whole: its lines are the sources', the last one ends.
            for (const std::string& page : pages) {
                const std::string text = test::readFile(out / name / page);
                const bool lines = text.substr(0, 28) == std::string(28, text.front());
                EXPECT_TRUE((text.starts_with("Call me Ishmael.") || lines) && text.ends_with("\r\n"))
                    << page << ": " << text;
            }
        }
    }
}

}  // namespace
}  // namespace leafmill

#endif
