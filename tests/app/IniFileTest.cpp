#include "ChildProcess.h"
#include "TestSupport.h"

#include "app/classIniFile.h"
#include "io/FileAccess.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace leafmill {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

std::shared_ptr<const CodePage> page(const char* name)
{
    auto codePage = CodePage::open(name);
    EXPECT_TRUE(codePage) << name;
    return codePage;
}

class IniFileTest : public ::testing::Test {
protected:
    static classIniFile boundTo(const fs::path& target, const char* codePage = "windows-1252")
    {
        classIniFile ini(page(codePage));
        ini.INIFileName(target);
        return ini;
    }

    TempDir dir;
    fs::path file = dir / "test.ini";
};

// 乚 is 81 5D in windows-936, its second byte a ']'.
TEST_F(IniFileTest, AWriteChangesOnlyWhatItMustAndKeepsTheRestByteForByte)
{
    const std::string comments = "; a comment = with an equals sign\r\nLoose=outside any "
                                 "section\r\n\r\n[Main]\n"
                                 "# another note\nKey = old   \nOther=\"x\"\r[Second]\r\nA=1";
    const struct {
        const char* codePage;
        std::string before;  // empty: no file
        const char *section, *key;
        std::string value, after;
    } writes[] = {
        {"windows-1252", comments, "Main", "Key", "new",
         std::string(comments).replace(comments.find("Key = old   "), 12, "Key =new")},
        {"windows-1252", "[Main]\r\nCutTypeNum=1\r\ncuttypenum=2\r\n[MAIN]\r\nOther=3\r\n", "MAIN", "cutTypeNum", "7",
         "[Main]\r\nCutTypeNum=7\r\ncuttypenum=2\r\n[MAIN]\r\nOther=3\r\n"},
        {"windows-1252", "[A]\r\nx=1\r\n; about A\r\n\r\n[B]\r\ny=2", "a", "z", "3",
         "[A]\r\nx=1\r\n; about A\r\nz=3\r\n\r\n[B]\r\ny=2"},
        {"windows-1252", "[A]\r\nx=1\r\n[B]\r\ny=2", "B", "w", "4", "[A]\r\nx=1\r\n[B]\r\ny=2\r\nw=4\r\n"},
        {"windows-1252", "[A]\r\nx=1\r\n", "C", "v", "5", "[A]\r\nx=1\r\n[C]\r\nv=5\r\n"},
        {"windows-1252", "", "UserSettings", "BookName", "Moby Dick", "[UserSettings]\r\nBookName=Moby Dick\r\n"},
        // Text that cannot be stored in a line is cut at its first break.
        {"windows-1252", "", "S", "Files", std::string("/home/me/books\0a.txt\0b.txt", 27),
         "[S]\r\nFiles=/home/me/books\r\n"},
        {"windows-1252", "", "S", "Lines", "first\r\n[Injected]\r\nx=1", "[S]\r\nLines=first\r\n"},
        {"windows-1252", "", "S\nT", "Key\rName", "v", "[S]\r\nKey=v\r\n"},
        {"windows-936", "", "乚", "书名", "中文", "[\x81\x5D]\r\n\xCA\xE9\xC3\xFB=\xD6\xD0\xCE\xC4\r\n"},
        // What the code page cannot hold turns the file into UTF-8 with the mark.
        {"windows-1252", "; caf\xE9 notes\r\n[W]\r\nOld=\xE9t\xE9\n", "W", "Held", "Café",
         "; caf\xE9 notes\r\n[W]\r\nOld=\xE9t\xE9\nHeld=Caf\xE9\r\n"},
        {"windows-1252", "; caf\xE9 notes\r\n[W]\r\nOld=\xE9t\xE9\n", "W", "Name", "Café 中",
         "\xEF\xBB\xBF; café notes\r\n[W]\r\nOld=été\nName=Café 中\r\n"},
        {"windows-1252", "[W]\r\nOld=\xE9\r\n", "书", "K", "v", "\xEF\xBB\xBF[W]\r\nOld=é\r\n[书]\r\nK=v\r\n"},
        {"windows-1252", "\xEF\xBB\xBF[Info]\r\nLanguage=简体中文\r\n", "Info", "Added", "日本語",
         "\xEF\xBB\xBF[Info]\r\nLanguage=简体中文\r\nAdded=日本語\r\n"},
    };
    for (const auto& w : writes) {
        fs::remove(file);
        if (!w.before.empty())
            writeFile(file, w.before);
        classIniFile ini = boundTo(file, w.codePage);
        ASSERT_TRUE(ini.WriteIniKey(w.section, w.key, w.value)) << w.key << ": " << ini.lastError();
        EXPECT_EQ(readFile(file), w.after) << w.section << " " << w.key;
        EXPECT_TRUE(ini.lastError().empty());
    }
}

TEST_F(IniFileTest, TheByteLimitNeverSplitsADoubleByteCharacter)
{
    // One ASCII byte, then two-byte characters: byte 1023 is the first half
    // of a character, which must not be returned alone.
    classIniFile ini = boundTo(file, "windows-936");
    std::string value = "a";
    for (int i = 0; i < 600; ++i)
        value += "中";
    ASSERT_TRUE(ini.WriteIniKey("S", "Chinese", value));
    const std::string read = ini.GetIniKey("S", "Chinese");
    std::string expected = "a";
    for (int i = 0; i < 511; ++i)
        expected += "中";
    EXPECT_EQ(read, expected);
    EXPECT_EQ(page("windows-936")->fromUtf8(read).size(), 1023u);
}

TEST_F(IniFileTest, KeyNamesThatWouldReadBackAsSomethingElseAreRefused)
{
    writeFile(file, "[S]\r\nA=1\r\n");
    classIniFile ini = boundTo(file);
    for (const char* key : {"a=b", "[T]", "; note"}) {
        EXPECT_FALSE(ini.WriteIniKey("S", key, "x")) << key;
        EXPECT_NE(ini.lastError().find("key name"), std::string::npos) << key;
    }
    EXPECT_EQ(readFile(file), "[S]\r\nA=1\r\n");
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

TEST_F(IniFileTest, EveryCallGoesToTheFile)
{
    classIniFile writer = boundTo(file);
    classIniFile reader = boundTo(file);
    ASSERT_TRUE(writer.WriteIniKey("S", "K", "1"));
    EXPECT_EQ(reader.GetIniKey("S", "K"), "1");
    writeFile(file, "[S]\r\nK=changed outside\r\n");
    EXPECT_EQ(reader.GetIniKey("S", "K"), "changed outside");
}

TEST_F(IniFileTest, SeveralKeysGoInWithOneReplacementInTheirOrder)
{
    writeFile(file, "[U]\r\nB=old\r\n");
    classIniFile ini = boundTo(file);
    ASSERT_TRUE(ini.WriteIniKeys("U", {{"A", "1"}, {"B", "2"}, {"C", "3"}, {"A", "4"}}));
    EXPECT_EQ(readFile(file), "[U]\r\nB=2\r\nA=4\r\nC=3\r\n");
}

// Every lookup, through GetIniKey or one snapshot, gives the same value.
TEST_F(IniFileTest, LookupsTrimValuesMatchNamesInAnyCaseAndTakeTheFirstOccurrence)
{
    // 乚 is 81 5D in windows-936: a ']' for a byte-wise reader; A6 A1 is Α.
    writeFile(file,
              "[Main]\r\nA=1\r\n  b = ' two ' "
              "\r\nA=shadowed\r\n\x81\x5D=dbcs\r\n[main]\r\nC=second section\r\n"
              "[\x81\x5D]\r\nK=\xD6\xD0\r\n[\xA6\xA1]\r\nLong="
                  + std::string(1100, 'x') + "\r\nExact=" + std::string(1023, 'y')
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
    writeFile(file, "[Info]\r\nLanguage=\xC3\xA9\r\n");
    EXPECT_EQ(boundTo(file).GetIniKey("Info", "Language"), "Ã©");
    writeFile(file, "\xEF\xBB\xBF[Info]\r\nLanguage=\xC3\xA9\r\n");
    EXPECT_EQ(boundTo(file).GetIniKey("Info", "Language"), "é");
    // Without a code page the bytes pass unchanged.
    writeFile(file, "[MainSettings]\r\nCodePage=windows-936\r\nName=\xD6\xD0\r\n");
    classIniFile ini;
    ini.INIFileName(file);
    EXPECT_EQ(ini.GetIniKey("mainsettings", "codepage"), "windows-936");
    EXPECT_EQ(ini.GetIniKey("MainSettings", "Name"), "\xD6\xD0");
}

TEST_F(IniFileTest, AFailedWriteSaysWhyAndLeavesNoFileBehind)
{
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
    const std::string bigValue(4000, 'b');
    test::ChildSetup full;
    full.fileSizeLimit = 100;
    const test::ChildResult child = test::runInChild(
        [&] {
            classIniFile ini = boundTo(file);
            return ini.WriteIniKey("UserSettings", "BookName", bigValue) ? std::string("written") : ini.lastError();
        },
        full);
    ASSERT_EQ(child.exitStatus, 0);
    EXPECT_NE(child.out.find("File too large"), std::string::npos)
        << "the write must report its failure: " << child.out;
    EXPECT_EQ(readFile(file), before);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1u) << "the temporary file is removed";
}

TEST_F(IniFileTest, AReadOnlyFileIsNotReplaced)
{
    writeFile(file, "[S]\r\nK=1\r\n");
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    classIniFile ini = boundTo(file);
    EXPECT_FALSE(ini.WriteIniKey("S", "K", "2"));
    EXPECT_NE(ini.lastError().find("read-only"), std::string::npos) << ini.lastError();
    EXPECT_EQ(readFile(file), "[S]\r\nK=1\r\n");
    struct stat st { };
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0444u);
}

TEST_F(IniFileTest, AReplacedFileKeepsItsPermissionsAndItsLink)
{
    writeFile(file, "[S]\r\nK=1\r\n");
    ASSERT_EQ(chmod(file.c_str(), 0640), 0);
    const fs::path link = dir / "link.ini";
    fs::create_symlink(file, link);

    classIniFile ini = boundTo(link);
    ASSERT_TRUE(ini.WriteIniKey("S", "K", "2"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readFile(file), "[S]\r\nK=2\r\n");
    struct stat st { };
    ASSERT_EQ(stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
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
