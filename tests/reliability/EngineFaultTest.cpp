// Faults met by the output-run engine in-process: sources that vanish or
// become unreadable after the list was made, and the temporary files of the
// documents: private while they live, gone after every run, and never laid
// over a link or file that someone planted at their name.
#include "ChildProcess.h"
#include "TestSupport.h"

#include "app/Settings.h"
#include "convert/OutputRun.h"
#include "convert/TemporaryTextFile.h"
#include "lang/LanguageTable.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#endif

namespace leafmill {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

class Listener : public RunListener {
public:
    void sourceStarted(std::size_t index, const std::string&) override
    {
        if (onSourceStarted)
            onSourceStarted(index);
    }
    void runProgress(int) override
    {
        if (onPage)
            onPage();
    }
    void sourceProgress(int) override { }
    bool confirmStop() override { return true; }

    std::function<void(std::size_t)> onSourceStarted;
    std::function<void()> onPage;
};

// Sets TEMP for the life of the object.
class TempVariable {
public:
    explicit TempVariable(const fs::path& folder)
    {
        if (const char* value = std::getenv("TEMP"))
            old_ = value;
        hadOld_ = std::getenv("TEMP") != nullptr;
        setenv("TEMP", folder.c_str(), 1);
    }
    ~TempVariable()
    {
        if (hadOld_)
            setenv("TEMP", old_.c_str(), 1);
        else
            unsetenv("TEMP");
    }

private:
    std::string old_;
    bool hadOld_ = false;
};

std::vector<fs::path> filesIn(const fs::path& folder)
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files.push_back(entry.path());
    return files;
}

class EngineFaultTest : public ::testing::Test {
protected:
    EngineFaultTest()
    {
        auto table = std::make_shared<LanguageTable>();
        std::string error;
        EXPECT_TRUE(table->LoadLanguageTable(test::assetsDir() / "language", "English", *codePage, &error)) << error;
        language = table;
        settings.CutTypeNum = 0;
        settings.CutTypeTable = {{100, 20}};
        settings.CutWordNum = 0;
        settings.CutWord = {"\r\n"};
        fs::create_directory(out);
        fs::create_directory(temp);
    }

    std::string textSource(const std::string& name, int lines)
    {
        std::string text;
        for (int i = 0; i < lines; ++i)
            text += std::string(28, 'x') + "\r\n";
        test::writeFile(dir / name, text);
        return (dir / name).string();
    }

    std::string documentCopy(const char* name)
    {
        const fs::path copy = dir.path() / fs::path(name).filename();
        fs::copy_file(test::documentsDir() / name, copy);
        fs::permissions(copy, fs::perms(0644));
        return copy.string();
    }

    RunResult run(const std::string& book, const std::vector<std::string>& sources)
    {
        OutputRun outputRun(settings, codePage, language);
        return outputRun.run(book, sources, out.string(), listener);
    }

    TempDir dir;
    fs::path out = dir / "out";
    fs::path temp = dir / "temp";
    std::shared_ptr<const CodePage> codePage = CodePage::open("windows-1252");
    std::shared_ptr<const LanguageTable> language;
    Settings settings;
    Listener listener;
};

#ifndef _WIN32

TEST_F(EngineFaultTest, SourcesThatVanishOrLockAfterListingAreReportedAndTheRunGoesOn)
{
    const std::vector<std::string> sources
        = {textSource("first.txt", 4), textSource("removed.txt", 4), documentCopy("letter.rtf"),
           textSource("locked.txt", 4), textSource("last.txt", 4)};
    test::handOver(dir.path());
    // Once the run has started on the first source, one source is deleted
    // and two lose their read permission.
    listener.onSourceStarted = [&](std::size_t index) {
        if (index != 0)
            return;
        fs::remove(sources[1]);
        fs::permissions(sources[2], fs::perms::none);
        fs::permissions(sources[3], fs::perms::none);
    };
    test::ChildSetup setup;
    setup.ordinaryUser = true;
    const test::ChildResult child = test::runInChild(
        [&] {
            const RunResult result = run("Book", sources);
            std::string report = std::to_string(static_cast<int>(result.end)) + "\n";
            for (const SourceOutcome& source : result.sources)
                report += std::to_string(source.pages) + " " + std::to_string(static_cast<int>(source.failure)) + "\n";
            return report + result.message;
        },
        setup);
    ASSERT_EQ(child.exitStatus, 0);

    const auto missing = std::to_string(static_cast<int>(SourceFailure::Missing));
    EXPECT_EQ(child.out.substr(0, child.out.find("The book")),
              std::to_string(static_cast<int>(RunEnd::Completed)) + "\n2 0\n0 " + missing + "\n0 " + missing + "\n0 "
                  + missing + "\n2 0\n");
    const std::string message = child.out.substr(child.out.find("The book"));
    EXPECT_NE(message.find("These sources gave no pages:"), std::string::npos) << message;
    for (std::size_t failed : {1, 2, 3})
        EXPECT_NE(message.find(sources[failed]), std::string::npos) << message;
    EXPECT_EQ(message.find(sources[0]), std::string::npos) << message;
    EXPECT_EQ(filesIn(out / "Book").size(), 4u);
}

TEST_F(EngineFaultTest, TemporaryFilesAreTheUsersAloneAndGoneAfterEveryRun)
{
    const TempVariable tempVariable(temp);
    const std::vector<std::string> documents
        = {documentCopy("letter.doc"), documentCopy("letter.rtf"), documentCopy("sources/letter.html")};
    std::vector<unsigned> modesSeen;
    listener.onPage = [&] {
        for (const fs::path& file : filesIn(temp)) {
            struct stat status { };
            if (lstat(file.c_str(), &status) == 0)
                modesSeen.push_back(status.st_mode & 07777);
            EXPECT_TRUE(S_ISREG(status.st_mode)) << file;
        }
    };
    const RunResult done = run("Book", documents);
    EXPECT_FALSE(done.anySourceFailed()) << done.message;
    ASSERT_GE(modesSeen.size(), documents.size()) << "the files are looked at while their pages are written";
    for (unsigned mode : modesSeen)
        EXPECT_EQ(mode, 0600u);
    EXPECT_TRUE(filesIn(temp).empty());

    // The book folder goes away after the first page: every document fails
    // while cutting, and still no temporary file stays.
    listener.onPage = [&] { fs::remove_all(out / "Failing"); };
    const RunResult failed = run("Failing", documents);
    ASSERT_EQ(failed.sources.size(), documents.size());
    for (const SourceOutcome& source : failed.sources)
        EXPECT_EQ(source.failure, SourceFailure::WriteFailed) << source.path << ": " << source.reason;
    EXPECT_TRUE(filesIn(temp).empty());
}

// The tick count in the temporary names: milliseconds of the monotonic clock.
int32_t tickNow()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
}

std::string dateNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm date {};
    localtime_r(&now, &date);
    return std::to_string(date.tm_year + 1900) + std::to_string(date.tm_mon + 1) + std::to_string(date.tm_mday);
}

// A folder in memory where the system has one: tens of thousands of names
// are planted in it.
class MemoryFolder {
public:
    MemoryFolder()
    {
        std::error_code ec;
        const fs::path base = fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        path_ = base / ("leafmill-plant-" + std::to_string(getpid()));
        fs::create_directory(path_);
    }
    ~MemoryFolder()
    {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST_F(EngineFaultTest, PlantedLinksAndFilesAtTemporaryNamesAreNeverFollowedNorReplaced)
{
    const MemoryFolder memory;
    const fs::path plantFolder = memory.path();
    const TempVariable tempVariable(plantFolder);
    const std::string victimText = "someone else's file\r\n";
    const fs::path linked = plantFolder / "linked.txt", hardLinked = plantFolder / "hard-linked.txt";
    test::writeFile(linked, victimText);
    test::writeFile(hardLinked, victimText);
    test::writeFile(dir / "small.rtf", "{\\rtf1\\ansi Call me Ishmael.\\par}");
    const std::string document = (dir / "small.rtf").string();

    // Every name a conversion can draw within a span of tick counts: links
    // to one victim at even numbers, further names of the other at odd
    // ones (a file opened there and emptied would empty the victim). The span
    // starts far enough ahead for the planting to be done by then; a busy
    // machine may need a second go.
    const std::string date = dateNow();
    const auto plant = [&](int32_t tick) {
        for (int number = 0; number < 1000; ++number) {
            const fs::path name = plantFolder / (date + std::to_string(tick) + "rtf" + std::to_string(number) + ".txt");
            if (number % 2 == 0)
                fs::create_symlink(linked, name);
            else
                fs::create_hard_link(hardLinked, name);
        }
    };
    // Each further go starts later when the planting overran its lead, and
    // covers more tick counts when the run overran the span.
    int32_t lead = 50, span = 25;
    bool inSpan = false;
    RunResult result;
    for (int attempt = 0; attempt < 4 && !inSpan; ++attempt) {
        const int32_t planting = tickNow();
        const int32_t first = planting + lead, last = first + span;
        for (int32_t tick = first; tick <= last; ++tick)
            plant(tick);
        const int32_t planted = tickNow();
        if (planted >= first) {
            lead = (planted - planting) * 2 + 20;
            continue;
        }
        while (tickNow() < first)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        // A go that ran outside the span wrote pages; the next must not find them.
        fs::remove_all(out / "Book");
        result = run("Book", {document});
        const int32_t ran = tickNow();
        inSpan = ran <= last;
        lead = (planted - planting) * 3 + 20;
        span = std::min<int32_t>(std::max(2 * span, ran - first + 10), 200);
    }

    EXPECT_EQ(test::readFile(linked), victimText);
    EXPECT_EQ(test::readFile(hardLinked), victimText);
    for (const fs::path& file : filesIn(plantFolder)) {
        if (fs::is_symlink(file)) {
            EXPECT_EQ(fs::read_symlink(file), linked);
        }
    }
    if (!inSpan)
        GTEST_SKIP() << "the machine is too busy: no run fell inside the planted tick counts";
    ASSERT_EQ(result.sources.size(), 1u);
    // Every name was taken: the document fails with the reason.
    EXPECT_EQ(result.sources[0].failure, SourceFailure::ExtractorFailed);
    EXPECT_NE(result.sources[0].reason.find("no free temporary file name"), std::string::npos)
        << result.sources[0].reason;
    EXPECT_NE(result.message.find(document), std::string::npos) << result.message;
    EXPECT_FALSE(fs::exists(out / "Book" / "Book0000.txt"));
}

#endif

}  // namespace
}  // namespace leafmill
