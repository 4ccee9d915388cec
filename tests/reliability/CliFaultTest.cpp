// Faults met by leafmill-cli in a child process: folders it may not write,
// a disk that fills up mid-page, a temporary folder it cannot use, names that
// try to leave the chosen folder. Each case checks what the user sees: the
// exit status, the messages and the files on disk.
#include "ChildProcess.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace leafmill {
namespace {

namespace fs = std::filesystem;
using test::ChildResult;
using test::ChildSetup;
using test::TempDir;

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

std::vector<std::string> entriesOf(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class CliFaultTest : public ::testing::Test {
protected:
    CliFaultTest()
    {
        // Pages of 100 bytes, cut at a line end in their last 20.
        settings = dir / "settings.ini";
        test::writeFile(settings,
                        "[MainSettings]\r\nCodePage=windows-1252\r\nCutTypeNum=0\r\n"
                        "SingleFileSize0=100\r\nInOutFileSize0=20\r\nFilter=All|*.*\r\nCutWordNum=0\r\n"
                        "[UserSettings]\r\nMyLagIndex=English\r\nOpenFilesFilterIndex=1\r\n"
                        "CutTypeIndex=0\r\nBookName=\r\nKeepFileSize=0\r\nInPutDir=\r\nOutPutDir=\r\n"
                        "CutWord0=enter\r\n");
        fs::create_directory(out);
        fs::create_directory(temp);
    }

    // `lines` lines of 30 bytes: 3 lines to a page.
    std::string textSource(const std::string& name, int lines)
    {
        std::string text;
        for (int i = 0; i < lines; ++i)
            text += std::string(28, static_cast<char>('a' + i % 26)) + "\r\n";
        test::writeFile(dir / name, text);
        return (dir / name).string();
    }

    std::string rtfSource(const std::string& name)
    {
        test::writeFile(dir / name,
                        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Call me Ishmael.\\par Some years ago.\\par}");
        return (dir / name).string();
    }

    ChildResult book(const std::string& name, const std::vector<std::string>& sources, ChildSetup setup = {})
    {
        std::vector<std::string> arguments = {"--settings", settings.string(), "--book", name, "--out", out.string()};
        arguments.insert(arguments.end(), sources.begin(), sources.end());
        setup.environment.emplace_back("TEMP", temp.string());
        return test::runProgram(LEAFMILL_CLI, arguments, setup);
    }

    // The child runs as an ordinary user, for whom permissions bind.
    ChildSetup asOrdinaryUser()
    {
        test::handOver(dir.path());
        ChildSetup setup;
        setup.ordinaryUser = true;
        return setup;
    }

    TempDir dir;
    fs::path settings;
    fs::path out = dir / "out";
    fs::path temp = dir / "temp";
};

#ifndef _WIN32

TEST_F(CliFaultTest, AReadOnlyOutputFolderEndsTheRunNamingTheBookFolder)
{
    const std::string source = textSource("a.txt", 9);
    ChildSetup setup = asOrdinaryUser();
    fs::permissions(out, fs::perms(0555));
    const ChildResult result = book("Book", {source}, setup);
    EXPECT_EQ(result.exitStatus, 2) << result.err;
    EXPECT_TRUE(contains(result.err, "The book folder")) << result.err;
    EXPECT_TRUE(contains(result.err, (out / "Book").string())) << result.err;
    EXPECT_TRUE(contains(result.err, "Permission denied")) << result.err;
    EXPECT_TRUE(entriesOf(out).empty());
    EXPECT_TRUE(result.out.empty()) << "no end message for a run that never started: " << result.out;
}

TEST_F(CliFaultTest, AReadOnlyBookFolderFailsEachSourceWithItsReason)
{
    const std::string first = textSource("a.txt", 9), second = rtfSource("b.rtf");
    ChildSetup setup = asOrdinaryUser();
    fs::create_directory(out / "Book");
    fs::permissions(out / "Book", fs::perms(0555));
    const ChildResult result = book("Book", {first, second}, setup);
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_EQ(result.out, "The book Book has no pages: no source gave any text.\n");
    EXPECT_TRUE(contains(result.err, "These sources gave no pages:")) << result.err;
    EXPECT_TRUE(contains(result.err, first) && contains(result.err, second)) << result.err;
    EXPECT_TRUE(contains(result.err, "a page could not be written")) << result.err;
    EXPECT_TRUE(contains(result.err, "Permission denied")) << result.err;
    EXPECT_TRUE(entriesOf(out / "Book").empty());
    EXPECT_TRUE(entriesOf(temp).empty()) << "the failed document's temporary file is deleted";
}

TEST_F(CliFaultTest, AFileSizeLimitHitMidPageFailsThatSourceAndLeavesNoPageCutShort)
{
    // The first source is one page of 32 bytes. Pages of the second are 92
    // bytes, and the limit stops the first of them half-way.
    const std::string small = textSource("small.txt", 1), big = textSource("big.txt", 9);
    ChildSetup setup;
    setup.fileSizeLimit = 50;
    const ChildResult result = book("Book", {small, big}, setup);
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_TRUE(contains(result.err, "File too large")) << result.err;
    EXPECT_TRUE(contains(result.err, big)) << result.err;
    EXPECT_FALSE(contains(result.err, small)) << result.err;
    EXPECT_EQ(result.out, "The book Book is finished.\n");
    EXPECT_TRUE(contains(result.err, "These sources gave no pages:")) << result.err;
    // No page cut short stays behind to pass for a whole one.
    EXPECT_EQ(entriesOf(out / "Book"), std::vector<std::string> {"Book0000.txt"});
    EXPECT_EQ(test::readFile(out / "Book" / "Book0000.txt"), std::string(28, 'a') + "\r\n\r\n");
}

TEST_F(CliFaultTest, AFileSizeLimitOnTheTemporaryFileFailsTheDocumentAndLeavesNothing)
{
    std::string longText = "{\\rtf1\\ansi ";
    for (int i = 0; i < 200; ++i)
        longText += "Call me Ishmael. \\par ";
    test::writeFile(dir / "long.rtf", longText + "}");
    ChildSetup setup;
    setup.fileSizeLimit = 1000;
    const ChildResult result = book("Book", {(dir / "long.rtf").string()}, setup);
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_TRUE(contains(result.err, "temporary file")) << result.err;
    EXPECT_TRUE(contains(result.err, "File too large")) << result.err;
    EXPECT_TRUE(entriesOf(temp).empty());
    EXPECT_TRUE(entriesOf(out / "Book").empty());
}

TEST_F(CliFaultTest, SigintAndSigtermStopTheRunAfterAWholePageAndLeaveNoTemporaryFile)
{
    // A long document: its text goes through a temporary file while it is cut.
    std::string longText = "{\\rtf1\\ansi ";
    for (int i = 0; i < 400'000; ++i)
        longText += "Call me Ishmael. \\par ";
    test::writeFile(dir / "long.rtf", longText + "}");
    for (const int signalNumber : {SIGINT, SIGTERM}) {
        const fs::path bookFolder = out / ("Book" + std::to_string(signalNumber));
        ChildSetup setup;
        setup.meanwhile = [&](int child) {
            // Signal once the cut is under way.
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            std::error_code ec;
            while (!fs::exists(bookFolder / (bookFolder.filename().string() + "0010.txt"), ec)
                   && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            kill(child, signalNumber);
        };
        const ChildResult result = book(bookFolder.filename().string(), {(dir / "long.rtf").string()}, setup);
        EXPECT_EQ(result.exitStatus, 128 + signalNumber) << result.err;
        EXPECT_EQ(result.out, "The output was stopped.\n");
        EXPECT_TRUE(entriesOf(temp).empty());
        const std::vector<std::string> pages = entriesOf(bookFolder);
        ASSERT_GE(pages.size(), 10u); // the page being written may be the one removed
        EXPECT_LT(pages.size(), 90'000u) << "the run was not stopped";
        // Every page is whole: its lines are the source's, the last one ends.
        for (const std::string& page : pages) {
            const std::string text = test::readFile(bookFolder / page);
            EXPECT_TRUE(text.starts_with("Call me Ishmael.") && text.ends_with("\r\n")) << page << ": " << text;
        }
    }
}

TEST_F(CliFaultTest, AnUnwritableTemporaryFolderFailsTheDocumentsButNotTheTexts)
{
    const std::string document = rtfSource("c.rtf"), text = textSource("d.txt", 2);
    ChildSetup setup = asOrdinaryUser();
    fs::permissions(temp, fs::perms(0555));
    const ChildResult result = book("Book", {document, text}, setup);
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_TRUE(contains(result.err, document)) << result.err;
    EXPECT_TRUE(contains(result.err, "temporary file")) << result.err;
    EXPECT_TRUE(contains(result.err, "Permission denied")) << result.err;
    EXPECT_FALSE(contains(result.err, text)) << result.err;
    EXPECT_EQ(entriesOf(out / "Book"), std::vector<std::string> {"Book0000.txt"});
    EXPECT_TRUE(entriesOf(temp).empty());
}

TEST_F(CliFaultTest, BookNamesThatWouldLeaveTheChosenFolderAreRefused)
{
    const std::string source = textSource("a.txt", 2);
    const std::vector<std::string> before = entriesOf(dir.path());
    for (const std::string name : {".", "..", "../escape", "a/b", "/tmp", "x\\y", "tab\there", "line\nbreak"}) {
        const ChildResult result = book(name, {source});
        EXPECT_EQ(result.exitStatus, 2) << name;
        EXPECT_TRUE(contains(result.err, "A book name cannot ")) << name << ": " << result.err;
        EXPECT_TRUE(entriesOf(out).empty()) << name;
        EXPECT_EQ(entriesOf(dir.path()), before) << name;
    }
    EXPECT_FALSE(fs::exists(dir / "escape"));
}

TEST_F(CliFaultTest, SourcesKeepTheirBytesAndTimesWhateverTheRunComesTo)
{
    // One source of every kind.
    std::vector<std::string> sources = {textSource("plain.txt", 7), rtfSource("small.rtf")};
    for (const char* name : {"letter.doc", "letter.rtf", "sources/letter.html"}) {
        const fs::path copy = dir.path() / fs::path(name).filename();
        fs::copy_file(test::documentsDir() / name, copy);
        fs::permissions(copy, fs::perms(0644));
        sources.push_back(copy.string());
    }
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    std::vector<std::string> bytes;
    for (const auto& source : sources) {
        fs::last_write_time(source, longAgo);
        bytes.push_back(test::readFile(source));
    }
    const auto checkSources = [&](const char* run) {
        for (std::size_t i = 0; i < sources.size(); ++i) {
            EXPECT_EQ(test::readFile(sources[i]), bytes[i]) << run << ": " << sources[i];
            EXPECT_EQ(fs::last_write_time(sources[i]), longAgo) << run << ": " << sources[i];
        }
    };

    const ChildResult done = book("Book", sources);
    EXPECT_EQ(done.exitStatus, 0) << done.err;
    EXPECT_FALSE(entriesOf(out / "Book").empty());
    checkSources("a finished run");

    ChildSetup full;
    full.fileSizeLimit = 50;
    const ChildResult failed = book("Again", sources, full);
    EXPECT_EQ(failed.exitStatus, 1) << failed.err;
    checkSources("a run on a full disk");
    EXPECT_TRUE(entriesOf(temp).empty());
}

#endif

}  // namespace
}  // namespace leafmill
