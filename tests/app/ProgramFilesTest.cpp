#include "ScopedEnv.h"
#include "TestSupport.h"

#include "app/ProgramFiles.h"

#include <gtest/gtest.h>

#include <string>

#include <unistd.h>

namespace leafmill {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::ScopedEnv;
using test::TempDir;

void writeFile(const fs::path& file, std::string_view text)
{
    fs::create_directories(file.parent_path());
    test::writeFile(file, text);
}

TEST(ProgramFilesTest, FindsDataAndSettingsInEachLayout)
{
    const struct {
        const char* shippedIni;  // relative to the root; nullptr for none
        bool readOnly;  // the program folder
        const char *expectedData, *expectedSettings;
    } layouts[] = {
        // A writable program folder with its own main.ini: everything stays there.
        {"usr/bin/main.ini", false, "usr/bin", "usr/bin/main.ini"},
        // A read-only one holds shipped data.
        {"usr/bin/main.ini", true, "usr/bin", "config/main.ini"},
        {"usr/share/leafmill/main.ini", false, "usr/share/leafmill", "config/main.ini"},
        // Nothing shipped anywhere: the missing file is told beside the program.
        {nullptr, false, "usr/bin", "usr/bin/main.ini"},
    };
    for (const auto& layout : layouts) {
        TempDir root;
        fs::create_directories(root / "usr/bin");
        if (layout.shippedIni)
            writeFile(root / layout.shippedIni, "[MainSettings]\r\n");
        const fs::perms write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if (layout.readOnly)
            fs::permissions(root / "usr/bin", write, fs::perm_options::remove);
        const ProgramFiles files = locateProgramFiles(root / "usr/bin", root / "config");
        fs::permissions(root / "usr/bin", fs::perms::owner_write, fs::perm_options::add);
        if (layout.readOnly && files.portable() && geteuid() == 0)
            continue;  // root may write into a read-only folder
        EXPECT_EQ(files.dataFolder, root / layout.expectedData);
        EXPECT_EQ(files.settingsFile, root / layout.expectedSettings);
        EXPECT_EQ(files.portable(), files.settingsFile.parent_path() == files.dataFolder);
    }
}

TEST(ProgramFilesTest, TheFirstStartCopiesTheShippedSettingsOnce)
{
    TempDir root;
    const std::string shipped = "[MainSettings]\r\nCutTypeNum=1\r\n[UserSettings]\r\nBookName=\r\n";
    writeFile(root / "share/main.ini", shipped);
    fs::permissions(root / "share/main.ini", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const ProgramFiles files {root / "share", root / "home/.config/leafmill/main.ini", root / "share/main.ini"};
    EXPECT_EQ(files.readableSettings(), files.shippedSettings);

    std::string error;
    ASSERT_TRUE(provideUserSettings(files, &error)) << error;
    EXPECT_EQ(readFile(files.settingsFile), shipped);
    EXPECT_EQ(files.readableSettings(), files.settingsFile);
    EXPECT_NE(fs::status(files.settingsFile).permissions() & fs::perms::owner_write, fs::perms::none)
        << "the user's copy must be writable even when the shipped file is not";
    EXPECT_FALSE(fs::exists(files.settingsFile.parent_path() / "main.ini.new"));

    // Later starts keep what the user saved.
    writeFile(files.settingsFile, "[UserSettings]\r\nBookName=Mine\r\n");
    ASSERT_TRUE(provideUserSettings(files, &error)) << error;
    EXPECT_EQ(readFile(files.settingsFile), "[UserSettings]\r\nBookName=Mine\r\n");
}

TEST(ProgramFilesTest, ACopyThatCannotBeMadeSaysWhere)
{
    TempDir root;
    writeFile(root / "share/main.ini", "[MainSettings]\r\n");
    writeFile(root / "config", "a file where the folder should be");
    const ProgramFiles files {root / "share", root / "config/leafmill/main.ini", root / "share/main.ini"};
    std::string error;
    EXPECT_FALSE(provideUserSettings(files, &error));
    EXPECT_NE(error.find((root / "config/leafmill/main.ini").string()), std::string::npos) << error;
    EXPECT_EQ(files.readableSettings(), files.shippedSettings);
}

TEST(ProgramFilesTest, TheUserFolderFollowsTheXdgRules)
{
    ScopedEnv home("HOME", "/home/reader");
    {
        ScopedEnv config("XDG_CONFIG_HOME", "/var/conf");
        EXPECT_EQ(userConfigFolder(), fs::path("/var/conf/leafmill"));
    }
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/conf"}) {
        ScopedEnv config("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(userConfigFolder(), fs::path("/home/reader/.config/leafmill")) << (ignored ? ignored : "unset");
    }
}

}  // namespace
}  // namespace leafmill
