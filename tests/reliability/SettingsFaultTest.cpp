// main.ini under faults: a folder where it cannot be replaced, and a process
// killed while it saves again and again. The file on disk is always a whole
// version of the settings, and a failed save says so.
#include "ChildProcess.h"
#include "TestSupport.h"

#include "app/SettingsStore.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>

#ifndef _WIN32
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace leafmill {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

class SettingsFaultTest : public ::testing::Test {
protected:
    SettingsFaultTest()
    {
        fs::create_directory(folder);
        fs::copy_file(test::assetsDir() / "main.ini", file);
        fs::permissions(file, fs::perms(0666));
    }

    // The file as a save of `bookName` leaves it.
    std::string savedWith(const std::string& bookName)
    {
        SettingsStore store(file);
        std::string error;
        EXPECT_TRUE(store.LoadSettings(&error)) << error;
        store.record().BookName = bookName;
        EXPECT_TRUE(store.SaveSettings(&error)) << error;
        return test::readFile(file);
    }

    TempDir dir;
    fs::path folder = dir / "program";
    fs::path file = folder / "main.ini";
};

#ifndef _WIN32

TEST_F(SettingsFaultTest, AMainIniThatCannotBeReplacedStaysAsItWasAndTheSaveSaysWhy)
{
    const std::string before = test::readFile(file);
    test::handOver(dir.path());
    // The file itself may be written, its folder may not: no replacement can
    // be put beside it.
    fs::permissions(folder, fs::perms(0555));
    test::ChildSetup setup;
    setup.ordinaryUser = true;
    const test::ChildResult child = test::runInChild(
        [&] {
            SettingsStore store(file);
            std::string error;
            if (!store.LoadSettings(&error))
                return "load failed: " + error;
            store.record().BookName = "A Changed Name";
            store.record().KeepFileSize = 33;
            if (store.SaveSettings(&error))
                return std::string("saved");
            return "refused: " + error;
        },
        setup);
    ASSERT_EQ(child.exitStatus, 0);
    EXPECT_EQ(child.out.rfind("refused: ", 0), 0u) << child.out;
    EXPECT_NE(child.out.find("Permission denied"), std::string::npos) << child.out;
    EXPECT_EQ(test::readFile(file), before);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST_F(SettingsFaultTest, AProcessKilledWhileSavingLeavesTheOldOrTheNewFileNeverAMix)
{
    // Two versions of the file that differ in length, so a torn write would
    // show as neither.
    const std::string shortVersion = savedWith("A");
    const std::string longVersion = savedWith(std::string(900, 'B'));
    ASSERT_NE(shortVersion, longVersion);

    std::mt19937 random(20261206);
    std::uniform_int_distribution<int> delay(1, 40);
    for (int round = 0; round < 12; ++round) {
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            SettingsStore store(file);
            std::string error;
            if (!store.LoadSettings(&error))
                _exit(1);
            for (int save = 0;; ++save) {
                store.record().BookName = save % 2 ? "A" : std::string(900, 'B');
                if (!store.SaveSettings(&error))
                    _exit(2);
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delay(random)));
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself with " << WEXITSTATUS(status);

        const std::string now = test::readFile(file);
        ASSERT_TRUE(now == shortVersion || now == longVersion)
            << "round " << round << " left " << now.size() << " bytes";
        SettingsStore store(file);
        std::string error;
        EXPECT_TRUE(store.LoadSettings(&error)) << error;
    }
}

#endif

}  // namespace
}  // namespace leafmill
