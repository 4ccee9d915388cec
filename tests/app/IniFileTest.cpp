#include "../extract/CaseFile.h"
#include "FolderEntries.h"
#include "TestSupport.h"

#include "app/classIniFile.h"
#include "io/FileAccess.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

namespace leafmill {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

class IniFileTest : public ::testing::Test {
protected:
    static classIniFile boundTo(const fs::path& target, const char* codePage = "windows-1252")
    {
        classIniFile ini(CodePage::open(codePage));
        ini.INIFileName(target);
        return ini;
    }

    TempDir dir;
    fs::path file = dir / "test.ini";
};

TEST_F(IniFileTest, AWriteChangesOnlyWhatItMustAndKeepsTheRestByteForByte)
{
    for (const auto& w : test::caseFile(LEAFMILL_TEST_DATA "/ini-writes.txt")) {
        fs::remove(file);
        if (!w.at(4).empty())
            writeFile(file, w[4]);
        classIniFile ini = boundTo(file, w[0].c_str());
        ASSERT_TRUE(ini.WriteIniKey(w[1], w[2], w[3])) << w[2] << ": " << ini.lastError();
        EXPECT_EQ(readFile(file), w.at(5)) << w[1] << " " << w[2];
        EXPECT_TRUE(ini.lastError().empty());
    }
}

TEST_F(IniFileTest, DeletingKeysAndSections)
{
    writeFile(file, "[A]\r\nx=1\r\ny=2\r\n[B]\r\nx=3\r\n[a]\r\nx=4\r\nz=5\r\n");
    classIniFile ini = boundTo(file);
    ASSERT_TRUE(ini.DelIniKey("A", "X"));
    EXPECT_EQ(readFile(file), "[A]\r\ny=2\r\n[B]\r\nx=3\r\n[a]\r\nz=5\r\n");
    EXPECT_EQ(ini.GetIniKey("A", "x"), "");
    EXPECT_EQ(ini.GetIniKey("B", "x"), "3");

    ASSERT_TRUE(ini.DelIniSec("a"));
    EXPECT_EQ(readFile(file), "[B]\r\nx=3\r\n");
    for (const char* key : {"x", "y", "z"})
        EXPECT_EQ(ini.GetIniKey("A", key), "") << key;

    ASSERT_TRUE(ini.DelIniKey("Absent", "x"));
    ASSERT_TRUE(ini.DelIniSec("Absent"));
    EXPECT_EQ(readFile(file), "[B]\r\nx=3\r\n");

    classIniFile nowhere = boundTo(dir / "absent.ini");
    EXPECT_TRUE(nowhere.DelIniKey("A", "x"));
    EXPECT_TRUE(nowhere.DelIniSec("A"));
    EXPECT_FALSE(fs::exists(dir / "absent.ini")) << "deleting from a missing file creates none";
}

TEST_F(IniFileTest, SeveralKeysGoInWithOneReplacementInTheirOrder)
{
    writeFile(file, "[U]\r\nB=old\r\n");
    classIniFile ini = boundTo(file);
    ASSERT_TRUE(
        ini.WriteIniKeys({{"U", "A", "1"}, {"V", "D", "5"}, {"U", "B", "2"}, {"U", "C", "3"}, {"U", "A", "4"}}));
    EXPECT_EQ(readFile(file), "[U]\r\nB=2\r\nA=4\r\nC=3\r\n[V]\r\nD=5\r\n");
}

// Every lookup, through GetIniKey or one snapshot, gives the same value.
TEST_F(IniFileTest, LookupsTrimValuesMatchNamesInAnyCaseAndTakeTheFirstOccurrence)
{
    // 乚 is 81 5D in windows-936: a ']' for a byte-wise reader; A6 A1 is Α.
    const auto times = [](std::string_view text, int n) {
        std::string all;
        while (n-- > 0)
            all += text;
        return all;
    };
    writeFile(file,
              "[Main]\r\nA=1\r\n  b = ' two ' "
              "\r\nA=shadowed\r\n\x81\x5D=dbcs\r\n[main]\r\nC=second section\r\n"
              "[\x81\x5D]\r\nK=\xD6\xD0\r\n[\xA6\xA1]\r\nLong="
                  + std::string(1100, 'x') + "\r\nExact=" + std::string(1023, 'y') + "\r\nSplit=a"
                  + times("\xD6\xD0", 600)
                  + "\r\n; C=comment\r\n# D=note\r\n[Other]\r\nA=other\r\n[S]\r\n  "
                    "Spaced  =  two spaces  \r\n"
                    "Tab=\tvalue\t\r\nSingle='quoted'\r\nDouble=\" keep inner "
                    "blanks \"\r\nMixed=\"not closed'\r\nLone=\"\r\n"
                    "Empty=''\r\nNested=\"\"twice\"\"\r\n");
    const struct {
        const char* section;
        const char* key;
        std::string value;
    } lookups[] = {
        {"Main", "A", "1"},
        {" MAIN ", "a", "1"},
        {"Main", "B", " two "},
        {"Main", "乚", "dbcs"},
        {"Main", "C", ""},
        {"Main", "Absent", ""},
        {"乚", "k", "中"},
        {"Other", "a", "other"},
        {"Other", "; C", ""},
        {"Other", "# D", ""},
        {"Missing", "A", ""},
        {"Other", "B", ""},
        {"", "", ""},
        {"α", "Long", std::string(1023, 'x')},
        {"Α", "Exact", std::string(1023, 'y')},
        // The byte limit falls inside a double-byte character, which goes whole.
        {"α", "Split", "a" + times("中", 511)},
        {"S", "Spaced", "two spaces"},
        {"S", "Tab", "value"},
        {"S", "Single", "quoted"},
        {"S", "Double", " keep inner blanks "},
        {"S", "Mixed", "\"not closed'"},
        {"S", "Lone", "\""},
        {"S", "Empty", ""},
        {"S", "Nested", "\"twice\""},
    };
    const classIniFile ini = boundTo(file, "windows-936");
    const classIniFile::Snapshot snapshot = ini.snapshot();
    for (const auto& lookup : lookups) {
        EXPECT_EQ(ini.GetIniKey(lookup.section, lookup.key), lookup.value) << lookup.section << " " << lookup.key;
        EXPECT_EQ(snapshot.GetIniKey(lookup.section, lookup.key), lookup.value) << lookup.section << " " << lookup.key;
    }
    EXPECT_EQ(boundTo(dir / "absent.ini").GetIniKey("Main", "A"), "");
    EXPECT_EQ(boundTo(dir / "absent.ini").snapshot().GetIniKey("Main", "A"), "");
}

TEST_F(IniFileTest, ValuesAreInTheCodePageUnlessAByteOrderMarkSaysUtf8)
{
    // Every call reads the file again, so one object sees each change made outside.
    const classIniFile bound = boundTo(file);
    writeFile(file, "[Info]\r\nLanguage=\xC3\xA9\r\n");
    EXPECT_EQ(bound.GetIniKey("Info", "Language"), "Ã©");
    writeFile(file, "\xEF\xBB\xBF[Info]\r\nLanguage=\xC3\xA9\r\n");
    EXPECT_EQ(bound.GetIniKey("Info", "Language"), "é");
    // Without a code page the bytes pass unchanged.
    writeFile(file, "[MainSettings]\r\nCodePage=windows-936\r\nName=\xD6\xD0\r\n");
    classIniFile ini;
    ini.INIFileName(file);
    EXPECT_EQ(ini.GetIniKey("mainsettings", "codepage"), "windows-936");
    EXPECT_EQ(ini.GetIniKey("MainSettings", "Name"), "\xD6\xD0");
}

TEST_F(IniFileTest, AFailedWriteSaysWhyAndChangesNothing)
{
    // Key names that would read back as something else are refused.
    writeFile(file, "[S]\r\nA=1\r\n");
    classIniFile bound = boundTo(file);
    for (const char* key : {"a=b", "[T]", "; note"}) {
        EXPECT_FALSE(bound.WriteIniKey("S", key, "x")) << key;
        EXPECT_NE(bound.lastError().find("key name"), std::string::npos) << key;
    }
    EXPECT_EQ(readFile(file), "[S]\r\nA=1\r\n");

    classIniFile ini = boundTo(dir / "absent-folder" / "main.ini");
    EXPECT_FALSE(ini.WriteIniKey("S", "K", "v"));
    EXPECT_NE(ini.lastError().find("absent-folder"), std::string::npos) << ini.lastError();
    EXPECT_FALSE(fs::exists(dir / "absent-folder"));

    fs::create_directory(dir / "folder.ini");
    classIniFile onFolder = boundTo(dir / "folder.ini");
    EXPECT_FALSE(onFolder.DelIniSec("S"));
    EXPECT_NE(onFolder.lastError().find("folder.ini"), std::string::npos);
}

#ifndef _WIN32
TEST_F(IniFileTest, AWriteThatRunsOutOfSpaceLeavesTheOldFileIntact)
{
    const std::string before = "; settings\r\n[UserSettings]\r\nBookName=Old\r\n";
    writeFile(file, before);
    classIniFile ini = boundTo(file);
    // Past the file-size limit, with its signal ignored, writes fail as on a full disk.
    rlimit limit {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    const rlimit full {100, limit.rlim_max};
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    const bool written = ini.WriteIniKey("UserSettings", "BookName", std::string(4000, 'b'));
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(written);
    EXPECT_NE(ini.lastError().find("File too large"), std::string::npos) << ini.lastError();
    EXPECT_EQ(readFile(file), before);
    EXPECT_EQ(test::entriesOf(dir.path()), std::vector<std::string> {"test.ini"}) << "the temporary file is removed";
}

TEST_F(IniFileTest, AReplacedFileKeepsItsPermissionsAndItsLink)
{
    const fs::path link = dir / "link.ini";
    fs::create_symlink(file, link);
    for (const mode_t mode : {0640, 0444}) {
        writeFile(file, "[S]\r\nK=1\r\n");
        ASSERT_EQ(chmod(file.c_str(), mode), 0);
        classIniFile ini = boundTo(link);
        const bool writable = mode & S_IWUSR;
        EXPECT_EQ(ini.WriteIniKey("S", "K", "2"), writable) << ini.lastError();
        EXPECT_EQ(readFile(file), writable ? "[S]\r\nK=2\r\n" : "[S]\r\nK=1\r\n");
        EXPECT_EQ(ini.lastError().find("read-only") != std::string::npos, !writable) << ini.lastError();
        EXPECT_TRUE(fs::is_symlink(link));
        struct stat st { };
        ASSERT_EQ(stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode);
    }
}
#endif

TEST(IniPathTest, BuildIniPathJoinsWithExactlyOneSeparator)
{
#ifdef _WIN32
    EXPECT_EQ(classIniFile::BuildIniPath("C:\\Leafmill\\\\", "\\main.ini"), "C:\\Leafmill\\main.ini");
    EXPECT_EQ(classIniFile::BuildIniPath("C:/Leafmill/", "language/English.ini"), "C:/Leafmill\\language/English.ini");
    EXPECT_EQ(classIniFile::BuildIniPath("", "main.ini"), "\\main.ini");
#else
    EXPECT_EQ(classIniFile::BuildIniPath("/opt/leafmill//", "/main.ini"), "/opt/leafmill/main.ini");
    EXPECT_EQ(classIniFile::BuildIniPath("/opt/leafmill", "main.ini"), "/opt/leafmill/main.ini");
    EXPECT_EQ(classIniFile::BuildIniPath("", "main.ini"), "/main.ini");
#endif

    TempDir dir;
    classIniFile ini(CodePage::open("windows-1252"));
    ini.SetIniPath(pathToUtf8(dir.path()) + "/", "/set.ini");
    ASSERT_TRUE(ini.WriteIniKey("S", "K", "v"));
    EXPECT_EQ(readFile(dir / "set.ini"), "[S]\r\nK=v\r\n");
}

}  // namespace
}  // namespace leafmill
