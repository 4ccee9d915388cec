#include "TestSupport.h"

#include "app/classIniFile.h"
#include "io/FileAccess.h"
#include "lang/LanguageChoice.h"
#include "lang/LanguageFiles.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

namespace leafmill {
namespace {

namespace fs = std::filesystem;
using test::TempDir;
using test::writeFile;

// A language file: [Info] with the given MaxLngNum line, then [Strings].
std::string languageFile(const std::string& language, const std::string& maxLngNumLine, const std::string& strings)
{
    return "[Info]\r\nSoftName=Leafmill\r\nHomePage=leafmill.example.org\r\n" + maxLngNumLine
        + "\r\nLanguage=" + language + "\r\n[Strings]\r\n" + strings;
}

std::string numberedStrings(int from, int to, const std::string& prefix)
{
    std::string lines;
    for (int i = from; i <= to; ++i) {
        std::string key = "0000" + std::to_string(i);
        lines += key.substr(key.size() - 5) + "=" + prefix + std::to_string(i) + "\r\n";
    }
    return lines;
}

class LanguageTableTest : public ::testing::Test {
protected:
    void addFile(const std::string& name, const std::string& content) { writeFile(dir / name, content); }

    bool load(const std::string& baseName, std::string* error = nullptr)
    {
        return table.LoadLanguageTable(dir.path(), baseName, *codePage, error);
    }

    TempDir dir;
    std::shared_ptr<const CodePage> codePage = CodePage::open("windows-1252");
    LanguageTable table;
};

TEST_F(LanguageTableTest, LoadsTheFiveDigitKeysZeroToMaxLngNum)
{
    addFile("Test.ini", languageFile("Test", "MaxLngNum=32", numberedStrings(0, 34, "text ")));
    std::string error;
    ASSERT_TRUE(load("Test", &error)) << error;
    EXPECT_EQ(table.MaxLngNum, 32);
    EXPECT_EQ(table.SoftName + " " + table.HomePage + " " + table.SoftVersion, "Leafmill leafmill.example.org 1.60");
    for (int index : {0, 1, 3, 14, 32})
        EXPECT_EQ(table.text(index), "text " + std::to_string(index));
    EXPECT_EQ(table.text(33), "These sources gave no pages:") << "the file's keys past MaxLngNum do not count";
    // Keys have five digits; only "@n" is a line break.
    addFile("Lines.ini", languageFile("Lines", "MaxLngNum=3", "1=one\r\n0003=three\r\n00002=a@n@nb@N@n\r\n"));
    ASSERT_TRUE(load("Lines"));
    EXPECT_EQ(table.text(1) + table.text(3), "");
    EXPECT_EQ(table.text(2), "a\r\n\r\nb@N\r\n");
    for (int index : {4, 29, 32, 99999, 100000, -1})
        EXPECT_EQ(table.text(index), "") << index;
}

TEST_F(LanguageTableTest, AddedStringsFallBackToBuiltInEnglishOnlyWhereTheFileLacksThem)
{
    addFile("Own.ini", languageFile("Own", "MaxLngNum=40", "00036=eigener Text: @Reason\r\n00038=\r\n"));
    ASSERT_TRUE(load("Own"));
    EXPECT_EQ(table.text(StringId::FailureNotConverted), "eigener Text: @Reason");
    EXPECT_EQ(table.text(StringId::BookFolderNotCreated), "The book folder @Folder could not be created: @Reason");
    for (int index = StringId::FirstAdded; index <= StringId::Highest; ++index)
        EXPECT_EQ(table.text(index).empty(), !LanguageTable::isProgramString(index)) << index;
    EXPECT_EQ(table.text(32), "");
}

TEST_F(LanguageTableTest, AFileWithoutAUsableMaxLngNumIsRefusedAndTheTableStays)
{
    addFile("Good.ini", languageFile("Good", "MaxLngNum=2", numberedStrings(0, 2, "good ")));
    ASSERT_TRUE(load("Good"));
    for (const char* line : {"", "MaxLngNum=", "MaxLngNum=many", "MaxLngNum=-1", "MaxLngNum=100000"}) {
        addFile("Bad.ini", languageFile("Bad", line, numberedStrings(0, 2, "bad ")));
        std::string error;
        EXPECT_FALSE(load("Bad", &error)) << line;
        EXPECT_NE(error.find("MaxLngNum"), std::string::npos) << error;
        EXPECT_NE(error.find("Bad.ini"), std::string::npos) << error;
    }
    std::string error;
    EXPECT_FALSE(load("Absent", &error));
    EXPECT_NE(error.find("Absent.ini"), std::string::npos) << error;
    EXPECT_EQ(table.MaxLngNum, 2);
    EXPECT_EQ(table.text(1), "good 1");
}

TEST_F(LanguageTableTest, StringsAreReadInTheCodePageOrAsUtf8AfterAByteOrderMark)
{
    addFile("Deutsch.ini", languageFile("Deutsch", "MaxLngNum=1", codePage->fromUtf8("00001=Größe\r\n")));
    addFile("Chinese.ini", "\xEF\xBB\xBF" + languageFile("中文", "MaxLngNum=1", "00001=书名：\r\n"));
    ASSERT_TRUE(load("Deutsch"));
    EXPECT_EQ(table.text(1), "Größe");
    ASSERT_TRUE(load("Chinese"));
    EXPECT_EQ(table.text(1), "书名：");
}

TEST_F(LanguageTableTest, TheListFollowsFileNameOrderAndSelectsByExactBaseName)
{
    addFile("b-Second.ini", languageFile("Second", "MaxLngNum=1", ""));
    addFile("A-First.ini", languageFile("First", "MaxLngNum=1", ""));
    addFile("c-Hidden.ini", languageFile("", "MaxLngNum=1", ""));
    addFile("d-Third.ini", languageFile("Third", "MaxLngNum=1", ""));
    addFile("notes.txt", languageFile("Text", "MaxLngNum=1", ""));
    fs::create_directory(dir / "folder.ini");

    LanguageList list = listLanguages(dir.path(), "d-Third", *codePage);
    ASSERT_EQ(list.entries.size(), 3u);
    EXPECT_EQ(list.entries[0].displayName, "First");
    EXPECT_EQ(list.entries[0].baseName, "A-First");
    EXPECT_EQ(list.entries[1].baseName, "b-Second");
    EXPECT_EQ(list.entries[2].baseName, "d-Third");
    EXPECT_EQ(list.selected, 2);

    EXPECT_EQ(listLanguages(dir.path(), "D-THIRD", *codePage).selected, 0);
    EXPECT_EQ(listLanguages(dir.path(), "c-Hidden", *codePage).selected, 0);
    EXPECT_TRUE(listLanguages(dir / "absent", "x", *codePage).entries.empty());
}

// The notice is in the used file's words, or built-in English when it lacks them.
TEST_F(LanguageTableTest, AChosenFileThatDoesNotLoadFallsBackToTheFirstThatDoes)
{
    addFile("A-Broken.ini", languageFile("Broken", "MaxLngNum=", ""));
    addFile("b-Deutsch.ini",
            languageFile("Deutsch", "MaxLngNum=40", "00001=Buchname:\r\n00040=@Chosen fehlt, also @Used.\r\n"));
    addFile("c-English.ini", languageFile("English", "MaxLngNum=40", "00001=Book name:\r\n"));
    const struct {
        const char* chosen;
        const char* removed;  // before the choice
        const char* used;
        const char* notice;
        const char* text1;
    } choices[] = {
        {"c-English", "", "c-English", "", "Book name:"},
        {"Klingon", "", "b-Deutsch", "Klingon.ini fehlt, also b-Deutsch.ini.", "Buchname:"},
        {"A-Broken", "b-Deutsch.ini", "c-English",
         "The language file A-Broken.ini could not be loaded; c-English.ini is used instead.", "Book name:"},
    };
    for (const auto& c : choices) {
        if (*c.removed)
            fs::remove(dir / c.removed);
        const LanguageChoice choice = loadChosenLanguage(table, dir.path(), c.chosen, *codePage);
        ASSERT_TRUE(choice.ok) << choice.error;
        EXPECT_EQ(std::tie(choice.usedBaseName, choice.notice), std::make_tuple(c.used, c.notice)) << c.chosen;
        EXPECT_EQ(table.text(1), c.text1);
    }
    fs::remove(dir / "c-English.ini");
    const LanguageChoice none = loadChosenLanguage(table, dir.path(), "English", *codePage);
    EXPECT_FALSE(none.ok);
    EXPECT_NE(none.error.find("English.ini"), std::string::npos) << none.error;
    EXPECT_NE(none.error.find(pathToUtf8(dir.path())), std::string::npos) << none.error;
    EXPECT_EQ(table.text(1), "Book name:") << "the table stays as it was";
}

}  // namespace
}  // namespace leafmill
