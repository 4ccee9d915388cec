#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#ifndef _WIN32
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace leafmill {
namespace {

using test::TempDir;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

std::string quoted(const std::string& argument)
{
    std::string text = "'";
    for (char c : argument)
        text += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return text + "'";
}

// Runs leafmill-cli with stdout and stderr in files (so neither is a terminal).
class CliTest : public ::testing::Test {
protected:
    CliTest()
    {
        settingsFile = dir / "settings.ini";
        test::writeFile(settingsFile,
            "[MainSettings]\r\nCodePage=windows-1252\r\nCutTypeNum=0\r\n"
            "SingleFileSize0=100\r\nInOutFileSize0=20\r\nFilter=All|*.*\r\nCutWordNum=0\r\n"
            "[UserSettings]\r\nMyLagIndex=English\r\nOpenFilesFilterIndex=1\r\n"
            "CutTypeIndex=0\r\nBookName=\r\nKeepFileSize=0\r\nInPutDir=\r\nOutPutDir=\r\n"
            "CutWord0=enter\r\n");
        std::filesystem::create_directory(dir / "out");
    }

    Outcome run(const std::vector<std::string>& arguments)
    {
        std::string command = quoted(LEAFMILL_CLI);
        for (const auto& argument : arguments)
            command += " " + quoted(argument);
        command += " >" + quoted((dir / "stdout").string()) + " 2>" + quoted((dir / "stderr").string());
        Outcome outcome;
        const int raw = std::system(command.c_str());
#ifdef _WIN32
        outcome.status = raw;
#else
        outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
        outcome.out = test::readFile(dir / "stdout");
        outcome.err = test::readFile(dir / "stderr");
        return outcome;
    }

    std::vector<std::string> book(const std::string& name, std::vector<std::string> sources)
    {
        // Values after '=' here, as separate arguments in the other tests.
        std::vector<std::string> arguments
            = { "--settings=" + settingsFile.string(), "--book=" + name, "--out", (dir / "out").string() };
        arguments.insert(arguments.end(), sources.begin(), sources.end());
        return arguments;
    }

    std::string source(const std::string& name, const std::string& text)
    {
        test::writeFile(dir / name, text);
        return (dir / name).string();
    }

    TempDir dir;
    std::filesystem::path settingsFile;
};

TEST_F(CliTest, HelpAndVersionSucceed)
{
    for (const char* option : { "--help", "-h" }) {
        const Outcome help = run({ option });
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("--book NAME --out FOLDER SOURCE..."), std::string::npos);
    }
    const Outcome version = run({ "--version" });
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "leafmill-cli 1.60\n");
}

TEST_F(CliTest, BadUsageExitsWithTwo)
{
    const std::string text = source("a.txt", "x\r\n");
    for (const auto& arguments : std::vector<std::vector<std::string>> {
             {},
             { "--book", "A", text },
             { "--out", (dir / "out").string(), text },
             { "--book", "A", "--out", (dir / "out").string() },
             { "--text", text, text },
             { "--text", text, "--book", "A" },
             { "--frobnicate" },
             { "--help", "--version" },
             { "--help=yes" },
             { "--book" },
             { "--links", "--no-links", "--book", "A", "--out", (dir / "out").string(), text },
             { "--text", text, "--join-lines" },
             { "--encoding" },
             { "--links=no", "--book", "A", "--out", (dir / "out").string(), text },
             { "--book=A", "--book=B", "--out=" + (dir / "out").string(), text },
         }) {
        const Outcome outcome = run(arguments);
        EXPECT_EQ(outcome.status, 2) << outcome.err;
        EXPECT_NE(outcome.err.find("Usage:"), std::string::npos);
        EXPECT_TRUE(outcome.out.empty());
    }
}

TEST_F(CliTest, ARunWritesTheBookAndLeavesTheSettingsAlone)
{
    const std::string before = test::readFile(settingsFile);
    const auto stamp = std::filesystem::last_write_time(settingsFile);
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += "line " + std::to_string(i) + " of the book\r\n";
    const Outcome outcome = run(book("Alice", { source("a.txt", text), source("b.TXT", "second\r\n") }));
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(outcome.out, "The book Alice is finished.\n");
    EXPECT_EQ(outcome.err, ""); // no progress when stderr is not a terminal
    EXPECT_TRUE(std::filesystem::exists(dir / "out" / "Alice" / "Alice0000.txt"));
    EXPECT_EQ(test::readFile(dir / "out" / "Alice" / "Alice0002.txt"), "second\r\n\r\n");
    EXPECT_EQ(test::readFile(settingsFile), before);
    EXPECT_EQ(std::filesystem::last_write_time(settingsFile), stamp);
}

TEST_F(CliTest, AFailedSourceIsNamedAndExitsWithOne)
{
    const std::string pages = source("letter.pages", "PK");
    const std::string gone = (dir / "gone.txt").string();
    const Outcome outcome = run(book("Alice", { pages, source("a.txt", "kept\r\n"), gone }));
    EXPECT_EQ(outcome.status, 1);
    // The end message on stdout; the failures once, on stderr.
    EXPECT_EQ(outcome.out, "The book Alice is finished.\n");
    EXPECT_EQ(outcome.err,
        "leafmill-cli: These sources gave no pages:\nleafmill-cli: " + pages
            + ": not a kind of document Leafmill reads\nleafmill-cli: " + gone
            + ": the file is missing or cannot be read (No such file or directory)\n");
    EXPECT_EQ(test::readFile(dir / "out" / "Alice" / "Alice0000.txt"), "kept\r\n\r\n");
}

TEST_F(CliTest, ARunThatCannotStartExitsWithTwo)
{
    const std::string text = source("a.txt", "x\r\n");
    const Outcome noFolder
        = run({ "--settings", settingsFile.string(), "--book", "A", "--out", (dir / "nowhere").string(), text });
    EXPECT_EQ(noFolder.status, 2);
    EXPECT_NE(noFolder.err.find("nowhere"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir / "nowhere"));

    test::writeFile(dir / "out" / "B", "a file where the book folder goes");
    const Outcome noBookFolder = run(book("B", { text }));
    EXPECT_EQ(noBookFolder.status, 2);
    EXPECT_TRUE(noBookFolder.out.empty());
    EXPECT_NE(noBookFolder.err.find("The book folder"), std::string::npos) << noBookFolder.err;

    const Outcome noSettings
        = run({ "--settings", (dir / "none.ini").string(), "--book", "A", "--out", (dir / "out").string(), text });
    EXPECT_EQ(noSettings.status, 2);
    EXPECT_FALSE(noSettings.err.empty());
    EXPECT_FALSE(std::filesystem::exists(dir / "none.ini"));
}

#ifndef _WIN32
// The columns a line of ASCII and three-byte CJK characters takes.
std::size_t columnsOf(const std::string& line)
{
    std::size_t columns = 0;
    for (const char c : line)
        columns += static_cast<unsigned char>(c) < 0x80 ? 1 : (static_cast<unsigned char>(c) & 0xC0) == 0xC0 ? 2 : 0;
    return columns;
}

TEST_F(CliTest, TheProgressLineFitsAnEightyColumnTerminalAndIsRedrawnInPlace)
{
    std::string name;
    for (int i = 0; i < 60; ++i)
        name += "\xe4\xb9\xa6"; // a wide character
    std::string text;
    for (int i = 0; i < 3000; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    const std::vector<std::string> arguments = book("Wide", { source(name + " end.txt", text) });

    winsize size {};
    size.ws_col = 80;
    size.ws_row = 24;
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, &size);
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::vector<char*> argv { const_cast<char*>(LEAFMILL_CLI) };
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(LEAFMILL_CLI, argv.data());
        _exit(127);
    }
    std::string shown;
    char block[4096];
    for (ssize_t got; (got = read(terminal, block, sizeof block)) > 0;)
        shown.append(block, static_cast<std::size_t>(got));
    close(terminal);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << shown;

    // Every drawing starts at the line's start and stays within 79 columns.
    const std::string progress = shown.substr(0, shown.find("The book Wide"));
    std::size_t drawings = 0;
    for (std::size_t start = 0; (start = progress.find("\r\033[K", start)) != std::string::npos; ++drawings) {
        start += 4;
        const std::string line = progress.substr(start, progress.find('\r', start) - start);
        EXPECT_LE(columnsOf(line), 79u) << line;
        EXPECT_EQ(line.find('\n'), std::string::npos) << line;
        if (!line.empty()) {
            EXPECT_NE(line.find("\xe4\xb9\xa6..."), std::string::npos) << line;
            EXPECT_TRUE(line.ends_with(" end.txt") || line.ends_with("%)")) << line;
        }
    }
    EXPECT_GT(drawings, 2u) << shown;
}
#endif

TEST_F(CliTest, TextWritesWhatASourceReducesTo)
{
    const std::string bytes = "caf\xe9\r\nlone\rlf\n";
    const Outcome text = run({ "--settings", settingsFile.string(), "--text", source("a.text", bytes) });
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out, bytes);

    const Outcome docx = run({ "--settings", settingsFile.string(), "--text", source("a.docx", std::string("PK\x03\x04", 4)) });
    EXPECT_EQ(docx.status, 1);
    EXPECT_NE(docx.err.find("a.docx"), std::string::npos);
    EXPECT_TRUE(docx.out.empty());
    const Outcome missing = run({ "--settings", settingsFile.string(), "--text", (dir / "gone.htm").string() });
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("gone.htm"), std::string::npos);

    const Outcome html
        = run({ "--settings", settingsFile.string(), "--text", source("p.html", "<p>Caf&eacute; au lait</p>") });
    EXPECT_EQ(html.status, 0) << html.err;
    EXPECT_NE(html.out.find("Caf\xe9 au lait"), std::string::npos) << html.out;
}

TEST_F(CliTest, PageChoicesOverrideTheSettingsAndTheReadersLimitsAreWarned)
{
    // Pages longer than the reader shows, in a Notes folder with no room left.
    std::string settings = test::readFile(settingsFile);
    settings.replace(settings.find("SingleFileSize0=100"), 19, "SingleFileSize0=5000");
    test::writeFile(settingsFile, settings);
    const std::filesystem::path notes = dir / "ipod" / "Notes";
    std::filesystem::create_directories(dir / "ipod" / "iPod_Control");
    std::filesystem::create_directories(notes);
    for (int i = 0; i < 1000; ++i)
        test::writeFile(notes / ("n" + std::to_string(i) + ".txt"), "x");
    const std::string text = source("a.txt", std::string(6000, 'x') + "\r\n");
    struct Case {
        std::vector<std::string> choices;
        std::string firstPageHas; // empty: plain text pages
        std::string firstPageLacks;
    };
    for (const Case& c : std::vector<Case> {
             { {}, "", "" },
             { { "--links", "--no-titles" }, "<A HREF=\"A0001.txt\" NOPUSH>Next</A>", "<TITLE>" },
             { { "--titles", "--no-links", "--contents", "--encoding", "Latin-1" }, "<TITLE>a - 1/2</TITLE>", "<A HREF" },
         }) {
        std::vector<std::string> arguments = { "--settings", settingsFile.string(), "--book", "A", "--out", notes.string() };
        arguments.insert(arguments.end(), c.choices.begin(), c.choices.end());
        arguments.push_back(text);
        const Outcome outcome = run(arguments);
        ASSERT_EQ(outcome.status, 0) << outcome.err;
        const std::string page = test::readFile(notes / "A" / "A0000.txt");
        EXPECT_EQ(std::filesystem::exists(notes / "A" / "00 Contents.txt"), c.firstPageHas.find("TITLE") != std::string::npos);
        if (c.firstPageHas.empty()) {
            EXPECT_EQ(page.substr(0, 8), "xxxxxxxx");
            EXPECT_EQ(outcome.err, "");
            continue;
        }
        EXPECT_NE(page.find(c.firstPageHas), std::string::npos) << page.substr(0, 80);
        EXPECT_EQ(page.find(c.firstPageLacks), std::string::npos);
        EXPECT_NE(outcome.err.find("warning: A page size of 5000 bytes"), std::string::npos) << outcome.err;
        EXPECT_NE(outcome.err.find("the Notes reader loads only 0 more"), std::string::npos) << outcome.err;
    }
    const Outcome unknown = run({ "--settings", settingsFile.string(), "--encoding", "Klingon", "--book", "B", "--out",
        notes.string(), text });
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("Klingon"), std::string::npos);
}

} // namespace
} // namespace leafmill
