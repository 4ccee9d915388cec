#include "ChildProcess.h"
#include "TestSupport.h"

#include "app/SettingsStore.h"
#include "io/FileAccess.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <string>

namespace leafmill {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::TempDir;
using test::writeFile;

const std::string kMainSection = "; factory settings\r\n"
                                 "[MainSettings]\r\n"
                                 "CodePage=windows-1252\r\n"
                                 "CutTypeNum=1\r\n"
                                 "SingleFileSize0=4000\r\n"
                                 "InOutFileSize0=400\r\n"
                                 "SingleFileSize1=2000\r\n"
                                 "InOutFileSize1=200\r\n"
                                 "Filter=Text|*.txt|All|*.*\r\n"
                                 "CutWordNum=2\r\n"
                                 "CutWordDef0=enter\r\n"
                                 "\r\n";

const std::string kUserSection = "[UserSettings]\r\n"
                                 "MyLagIndex=English\r\n"
                                 "OpenFilesFilterIndex=2\r\n"
                                 "CutTypeIndex=1\r\n"
                                 "BookName=Moby Dick\r\n"
                                 "KeepFileSize=16\r\n"
                                 "InPutDir=/home/reader/in\r\n"
                                 "OutPutDir=/home/reader/out\r\n"
                                 "CutWord0=EnTeR\r\n"
                                 "CutWord1=SPACE\r\n"
                                 "CutWord2=.\r\n"
                                 "CutWord3=!\r\n"
                                 "Unnamed=kept\r\n";

class SettingsStoreTest : public ::testing::Test {
protected:
    void writeIni(const std::string& text) { writeFile(file, text); }

    // The standard file with one line replaced (or removed, when `to` is empty).
    void writeIniWith(const std::string& from, const std::string& to)
    {
        std::string text = kMainSection + kUserSection;
        const std::size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        text.replace(at, from.size(), to);
        writeIni(text);
    }

    std::string loadError()
    {
        SettingsStore store(file);
        std::string error;
        EXPECT_FALSE(store.LoadSettings(&error));
        return error;
    }

    TempDir dir;
    fs::path file = dir / "main.ini";
};

TEST_F(SettingsStoreTest, LoadFillsTheRecordFromBothSections)
{
    writeIni(kMainSection + kUserSection);
    SettingsStore store(file);
    std::string error;
    ASSERT_TRUE(store.LoadSettings(&error)) << error;
    const Settings& s = store.record();
    EXPECT_EQ(s.CutTypeNum, 1);
    ASSERT_EQ(s.CutTypeTable.size(), 2u);
    EXPECT_EQ(s.CutTypeTable[0].SingleFileSize, 4000);
    EXPECT_EQ(s.CutTypeTable[0].InOutFileSize, 400);
    EXPECT_EQ(s.CutTypeTable[1].SingleFileSize, 2000);
    EXPECT_EQ(s.CutTypeTable[1].InOutFileSize, 200);
    EXPECT_EQ(s.Filter, "Text|*.txt|All|*.*");
    EXPECT_EQ(s.MyLagIndex, "English");
    EXPECT_EQ(s.OpenFilesFilterIndex, 2);
    EXPECT_EQ(s.CutTypeIndex, 1);
    EXPECT_EQ(s.BookName, "Moby Dick");
    EXPECT_EQ(s.KeepFileSize, 16);
    EXPECT_EQ(s.InPutDir, "/home/reader/in");
    EXPECT_EQ(s.OutPutDir, "/home/reader/out");
    EXPECT_FALSE(s.wholeFileMode());
    ASSERT_TRUE(store.codePage());
    EXPECT_EQ(store.codePage()->name(), CodePage::open("windows-1252")->name());
}

TEST_F(SettingsStoreTest, OnlyCutWordsZeroToCutWordNumAreReadAndWritten)
{
    writeIni(kMainSection + kUserSection);
    SettingsStore store(file);
    ASSERT_TRUE(store.LoadSettings(nullptr));
    EXPECT_EQ(store.record().CutWord, (std::vector<std::string> {"\r\n", " ", "."}));

    store.record().CutWord = {"\r\n", "  ", "?"};
    ASSERT_TRUE(store.SaveSettings(nullptr));
    const std::string saved = readFile(file);
    EXPECT_NE(saved.find("CutWord0=enter\r\nCutWord1=  \r\nCutWord2=?\r\nCutWord3=!\r\n"), std::string::npos) << saved;

    // Two spaces are written as they are and read back trimmed to nothing.
    SettingsStore again(file);
    ASSERT_TRUE(again.LoadSettings(nullptr));
    EXPECT_EQ(again.record().CutWord, (std::vector<std::string> {"\r\n", "", "?"}));
}

TEST_F(SettingsStoreTest, SaveLeavesMainSettingsAndUnnamedKeysAsTheyWere)
{
    writeIni(kMainSection + kUserSection);
    SettingsStore store(file);
    ASSERT_TRUE(store.LoadSettings(nullptr));
    store.record().BookName = "Bleak House";
    store.record().OpenFilesFilterIndex = -3;
    ASSERT_TRUE(store.SaveSettings(nullptr));

    const std::string saved = readFile(file);
    EXPECT_EQ(saved.substr(0, kMainSection.size()), kMainSection);
    EXPECT_EQ(saved.substr(kMainSection.size()),
              "[UserSettings]\r\n"
              "MyLagIndex=English\r\n"
              "OpenFilesFilterIndex=-3\r\n"
              "CutTypeIndex=1\r\n"
              "BookName=Bleak House\r\n"
              "KeepFileSize=16\r\n"
              "InPutDir=/home/reader/in\r\n"
              "OutPutDir=/home/reader/out\r\n"
              "CutWord0=enter\r\n"
              "CutWord1=space\r\n"
              "CutWord2=.\r\n"
              "CutWord3=!\r\n"
              "Unnamed=kept\r\n");
}

TEST_F(SettingsStoreTest, MissingUserKeysTakeDefaultsAndAreWrittenAtTheNextSave)
{
    writeIni(kMainSection + "[UserSettings]\r\nKeepFileSize=\r\n");
    SettingsStore store(file);
    std::string error;
    ASSERT_TRUE(store.LoadSettings(&error)) << error;
    const Settings& s = store.record();
    EXPECT_EQ(s.CutTypeIndex, 0);
    EXPECT_EQ(s.KeepFileSize, 0);
    EXPECT_EQ(s.OpenFilesFilterIndex, 1);
    EXPECT_EQ(s.MyLagIndex, "");
    EXPECT_EQ(s.CutWord, (std::vector<std::string> {"", "", ""}));

    ASSERT_TRUE(store.SaveSettings(&error)) << error;
    EXPECT_EQ(readFile(file).substr(kMainSection.size()),
              "[UserSettings]\r\n"
              "KeepFileSize=0\r\n"
              "MyLagIndex=\r\n"
              "OpenFilesFilterIndex=1\r\n"
              "CutTypeIndex=0\r\n"
              "BookName=\r\n"
              "InPutDir=\r\n"
              "OutPutDir=\r\n"
              "CutWord0=\r\n"
              "CutWord1=\r\n"
              "CutWord2=\r\n");
}

// Row 1 is 2000/200, so its shortest cut is 1800 bytes.
TEST_F(SettingsStoreTest, TheOverlapMayReachTheDialogsMostAndLeaveRoomToProgress)
{
    const struct {
        std::string row;
        const char* keep;
        bool taken;
    } cases[] = {
        {"SingleFileSize1=2000\r\nInOutFileSize1=200", "64", true},
        {"SingleFileSize1=2000\r\nInOutFileSize1=200", "0", true},
        {"SingleFileSize1=100\r\nInOutFileSize1=36", "63", true},
        {"SingleFileSize1=100\r\nInOutFileSize1=36", "64", false},
        {"SingleFileSize1=100\r\nInOutFileSize1=100", "1", false},
        {"SingleFileSize1=100\r\nInOutFileSize1=100", "0", true},
        {"SingleFileSize1=0\r\nInOutFileSize1=0", "64", true},
    };
    for (const auto& c : cases) {
        std::string text = kMainSection + kUserSection;
        text.replace(text.find("SingleFileSize1=2000\r\nInOutFileSize1=200"), 40, c.row);
        text.replace(text.find("KeepFileSize=16"), 15, std::string("KeepFileSize=") + c.keep);
        writeIni(text);
        SettingsStore store(file);
        std::string error;
        EXPECT_EQ(store.LoadSettings(&error), c.taken) << c.row << " keep " << c.keep;
        if (c.taken)
            EXPECT_EQ(store.record().KeepFileSize, std::stoi(c.keep));
        else
            EXPECT_NE(error.find("[UserSettings], key KeepFileSize: " + std::string(c.keep)
                                 + " is not below the "
                                   "shortest cut of row 1"),
                      std::string::npos)
                << error;
    }
}

TEST_F(SettingsStoreTest, AnEmptyCutWordKeepsItsPlaceAndTheLaterWords)
{
    writeIniWith("CutWord1=SPACE", "CutWord1=");
    SettingsStore store(file);
    ASSERT_TRUE(store.LoadSettings(nullptr));
    EXPECT_EQ(store.record().CutWord, (std::vector<std::string> {"\r\n", "", "."}));
}

TEST_F(SettingsStoreTest, ATableOfTheMostRowsLoadsEveryRow)
{
    std::string rows = "CutTypeNum=9999\r\n";
    for (int i = 0; i <= 9999; ++i)
        rows += "SingleFileSize" + std::to_string(i) + "=" + std::to_string(1000 + i) + "\r\nInOutFileSize"
            + std::to_string(i) + "=" + std::to_string(i % 1000) + "\r\n";
    writeIniWith("CutTypeNum=1\r\nSingleFileSize0=4000\r\nInOutFileSize0=400\r\nSingleFileSize1=2000\r\n"
                 "InOutFileSize1=200\r\n",
                 rows);
    SettingsStore store(file);
    std::string error;
    ASSERT_TRUE(store.LoadSettings(&error)) << error;
    const auto& table = store.record().CutTypeTable;
    ASSERT_EQ(table.size(), 10000u);
    for (int i : {0, 1, 4321, 9999}) {
        EXPECT_EQ(table[static_cast<std::size_t>(i)].SingleFileSize, 1000 + i);
        EXPECT_EQ(table[static_cast<std::size_t>(i)].InOutFileSize, i % 1000);
    }
}

TEST_F(SettingsStoreTest, ABookNameTheCodePageCannotHoldIsSavedInUtf8AndReadBack)
{
    writeIni(kMainSection + kUserSection);
    SettingsStore store(file);
    ASSERT_TRUE(store.LoadSettings(nullptr));
    store.record().BookName = "红楼梦";
    store.record().OutPutDir = "/home/reader/书";
    ASSERT_TRUE(store.SaveSettings(nullptr));
    EXPECT_EQ(readFile(file).rfind("\xEF\xBB\xBF; factory settings\r\n", 0), 0u);

    SettingsStore again(file);
    ASSERT_TRUE(again.LoadSettings(nullptr));
    EXPECT_EQ(again.record().BookName, "红楼梦");
    EXPECT_EQ(again.record().OutPutDir, "/home/reader/书");
    EXPECT_EQ(again.record().Filter, "Text|*.txt|All|*.*");
}

TEST_F(SettingsStoreTest, TextFieldsAreStoredUpToTheirFirstNul)
{
    writeIni(kMainSection + kUserSection);
    SettingsStore store(file);
    ASSERT_TRUE(store.LoadSettings(nullptr));
    store.record().InPutDir = std::string("/home/reader/books\0one.txt\0two.txt\0", 35);
    store.record().BookName = "Two\r\nLines";
    ASSERT_TRUE(store.SaveSettings(nullptr));

    SettingsStore again(file);
    ASSERT_TRUE(again.LoadSettings(nullptr));
    EXPECT_EQ(again.record().InPutDir, "/home/reader/books");
    EXPECT_EQ(again.record().BookName, "Two");
    EXPECT_EQ(again.record().CutWord.size(), 3u) << "the file is still well formed";
}

TEST_F(SettingsStoreTest, TextsAreStoredInTheConfiguredCodePage)
{
    writeIniWith("CodePage=windows-1252", "CodePage=windows-936");
    SettingsStore store(file);
    ASSERT_TRUE(store.LoadSettings(nullptr));
    store.record().BookName = "红楼梦";
    ASSERT_TRUE(store.SaveSettings(nullptr));
    EXPECT_NE(readFile(file).find("BookName=\xBA\xEC\xC2\xA5\xC3\xCE\r\n"), std::string::npos);

    SettingsStore again(file);
    ASSERT_TRUE(again.LoadSettings(nullptr));
    EXPECT_EQ(again.record().BookName, "红楼梦");
    EXPECT_EQ(again.ini().GetIniKey("UserSettings", "BookName"), "红楼梦");
}

TEST_F(SettingsStoreTest, WithoutTheCodePageKeyTheSystemCodePageIsUsed)
{
    writeIniWith("CodePage=windows-1252\r\n", "");
    SettingsStore store(file);
    ASSERT_TRUE(store.LoadSettings(nullptr));
    EXPECT_EQ(store.codePage()->name(), CodePage::open(CodePage::systemName())->name());
}

TEST_F(SettingsStoreTest, AMissingFileIsRefusedByName)
{
    const std::string error = loadError();
    EXPECT_NE(error.find(pathToUtf8(file)), std::string::npos) << error;
    EXPECT_NE(error.find("missing"), std::string::npos) << error;
}

struct Refusal {
    const char* from;
    const char* to;
    const char* section;
    const char* key;
    const char* why;
};

class RefusedSettingsTest : public SettingsStoreTest, public ::testing::WithParamInterface<Refusal> { };

TEST_P(RefusedSettingsTest, NamesTheFileTheSectionAndTheKey)
{
    const Refusal& refusal = GetParam();
    writeIniWith(refusal.from, refusal.to);
    const std::string error = loadError();
    EXPECT_NE(error.find(pathToUtf8(file)), std::string::npos) << error;
    EXPECT_NE(error.find(std::string("[") + refusal.section + "]"), std::string::npos) << error;
    EXPECT_NE(error.find(std::string("key ") + refusal.key + ":"), std::string::npos) << error;
    EXPECT_NE(error.find(refusal.why), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RefusedSettingsTest,
    ::testing::Values(
        Refusal {"CutTypeNum=1\r\n", "", "MainSettings", "CutTypeNum", "missing"},
        Refusal {"CutTypeNum=1", "CutTypeNum=", "MainSettings", "CutTypeNum", "missing"},
        Refusal {"CutTypeNum=1", "CutTypeNum=one", "MainSettings", "CutTypeNum", "\"one\" is not a whole number"},
        Refusal {"CutTypeNum=1", "CutTypeNum=-1", "MainSettings", "CutTypeNum", "outside"},
        Refusal {"CutTypeNum=1", "CutTypeNum=4294967296", "MainSettings", "CutTypeNum", "not a whole number"},
        Refusal {"CutTypeNum=1", "CutTypeNum=2000000000", "MainSettings", "CutTypeNum", "outside"},
        Refusal {"CutTypeNum=1", "CutTypeNum=2", "MainSettings", "SingleFileSize2", "missing"},
        Refusal {"InOutFileSize1=200\r\n", "", "MainSettings", "InOutFileSize1", "missing"},
        Refusal {"SingleFileSize0=4000", "SingleFileSize0=4k", "MainSettings", "SingleFileSize0", "not a whole number"},
        Refusal {"SingleFileSize0=4000", "SingleFileSize0=-1", "MainSettings", "SingleFileSize0", "below 0"},
        Refusal {"InOutFileSize0=400", "InOutFileSize0=-400", "MainSettings", "InOutFileSize0", "below 0"},
        Refusal {"InOutFileSize0=400", "InOutFileSize0=4001", "MainSettings", "InOutFileSize0", "above the page size"},
        Refusal {"CutWordNum=2\r\n", "", "MainSettings", "CutWordNum", "missing"},
        Refusal {"CutWordNum=2", "CutWordNum=-1", "MainSettings", "CutWordNum", "outside"},
        Refusal {"CutWordNum=2", "CutWordNum=2147483647", "MainSettings", "CutWordNum", "outside"},
        Refusal {"CutTypeIndex=1", "CutTypeIndex=2", "UserSettings", "CutTypeIndex", "outside 0..1"},
        Refusal {"CutTypeIndex=1", "CutTypeIndex=-1", "UserSettings", "CutTypeIndex", "outside 0..1"},
        Refusal {"CutTypeIndex=1", "CutTypeIndex=first", "UserSettings", "CutTypeIndex", "not a whole number"},
        Refusal {"KeepFileSize=16", "KeepFileSize=lots", "UserSettings", "KeepFileSize", "not a whole number"},
        Refusal {"KeepFileSize=16", "KeepFileSize=65", "UserSettings", "KeepFileSize", "65 lies outside 0..64"},
        Refusal {"KeepFileSize=16", "KeepFileSize=3700", "UserSettings", "KeepFileSize", "outside 0..64"},
        Refusal {"KeepFileSize=16", "KeepFileSize=-1", "UserSettings", "KeepFileSize", "outside 0..64"},
        Refusal {"CodePage=windows-1252", "CodePage=ISO-2022-JP", "MainSettings", "CodePage", "shifts between"},
        Refusal {"CodePage=windows-1252", "CodePage=ISO-2022-JP-2", "MainSettings", "CodePage", "shifts between"},
        Refusal {"CodePage=windows-1252", "CodePage=ISO-2022-KR", "MainSettings", "CodePage", "\"ISO-2022-KR\""},
        Refusal {"CodePage=windows-1252", "CodePage=HZ-GB-2312", "MainSettings", "CodePage", "\"HZ-GB-2312\""},
        Refusal {"CodePage=windows-1252", "CodePage=UTF-7", "MainSettings", "CodePage", "\"UTF-7\""},
        Refusal {"CodePage=windows-1252", "CodePage=klingon-1", "MainSettings", "CodePage", "klingon-1"},
        Refusal {"Unnamed=kept\r\n", "[NotesReader]\r\nLinks=yes\r\n", "NotesReader", "Links", "neither 0 nor 1"},
        Refusal {"Unnamed=kept\r\n", "[NotesReader]\r\nPageEncoding=Runes\r\n", "NotesReader", "PageEncoding",
                 "Runes"}));

TEST_F(SettingsStoreTest, TheNotesReaderSectionIsReadAndWrittenOnlyWhenPresent)
{
    writeIni(kMainSection + kUserSection);
    {
        SettingsStore store(file);
        ASSERT_TRUE(store.LoadSettings(nullptr));
        EXPECT_FALSE(store.record().NotesReader.present);
        ASSERT_TRUE(store.SaveSettings(nullptr));
        EXPECT_EQ(readFile(file).find("NotesReader"), std::string::npos);
    }
    writeIni(kMainSection + kUserSection + "[NotesReader]\r\nPageEncoding=MacRoman\r\nTitles=1\r\nJoinLines=0\r\n");
    SettingsStore store(file);
    ASSERT_TRUE(store.LoadSettings(nullptr));
    const NotesReaderSettings& notes = store.record().NotesReader;
    EXPECT_TRUE(notes.present);
    EXPECT_EQ(notes.PageEncoding, "MacRoman");
    EXPECT_TRUE(notes.Titles);
    EXPECT_FALSE(notes.Links || notes.Contents || notes.ChapterPages || notes.JoinLines);
    store.record().NotesReader.Links = true;
    ASSERT_TRUE(store.SaveSettings(nullptr));
    SettingsStore again(file);
    ASSERT_TRUE(again.LoadSettings(nullptr));
    EXPECT_TRUE(again.record().NotesReader.Links);
    EXPECT_TRUE(again.record().NotesReader.Titles);
    EXPECT_EQ(again.record().NotesReader.PageEncoding, "MacRoman");
}

TEST_F(SettingsStoreTest, WholeFileModeNeedsTheChosenRowToBeUncut)
{
    writeIniWith("SingleFileSize1=2000\r\nInOutFileSize1=200", "SingleFileSize1=0\r\nInOutFileSize1=0");
    SettingsStore store(file);
    std::string error;
    ASSERT_TRUE(store.LoadSettings(&error)) << error;
    EXPECT_TRUE(store.record().wholeFileMode());
    EXPECT_EQ(store.record().activeCutType().SingleFileSize, 0);

    // Row 0 cuts 4000-byte pages, which whole-file mode contradicts.
    std::string text = readFile(file);
    text.replace(text.find("CutTypeIndex=1"), 14, "CutTypeIndex=0");
    writeIni(text);
    error = loadError();
    EXPECT_NE(error.find("[UserSettings], key CutTypeIndex:"), std::string::npos) << error;
    EXPECT_NE(error.find("whole-file mode"), std::string::npos) << error;
}

TEST_F(SettingsStoreTest, ARefusedLoadLeavesTheRecordAsItWas)
{
    writeIni(kMainSection + kUserSection);
    SettingsStore store(file);
    ASSERT_TRUE(store.LoadSettings(nullptr));
    writeIniWith("CutTypeIndex=1", "CutTypeIndex=9");
    std::string error;
    EXPECT_FALSE(store.LoadSettings(&error));
    EXPECT_EQ(store.record().CutTypeIndex, 1);
    EXPECT_EQ(store.record().BookName, "Moby Dick");
}

TEST_F(SettingsStoreTest, SavingBeforeLoadingIsRefused)
{
    writeIni(kMainSection + kUserSection);
    SettingsStore store(file);
    std::string error;
    EXPECT_FALSE(store.SaveSettings(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFile(file), kMainSection + kUserSection);
}

#ifndef _WIN32
TEST_F(SettingsStoreTest, AFailedSaveReportsItAndKeepsTheOldFile)
{
    writeIni(kMainSection + kUserSection);
    test::ChildSetup full;
    full.fileSizeLimit = kMainSection.size() + 20;
    const test::ChildResult child = test::runInChild(
        [&] {
            SettingsStore store(file);
            std::string error;
            if (!store.LoadSettings(&error))
                return "load failed: " + error;
            store.record().BookName = "A New Name";
            return store.SaveSettings(&error) ? std::string("saved") : error;
        },
        full);
    ASSERT_EQ(child.exitStatus, 0);
    EXPECT_NE(child.out.find("File too large"), std::string::npos) << child.out;
    EXPECT_EQ(readFile(file), kMainSection + kUserSection);
}
#endif

TEST(CutWordTest, EncodingAndDecoding)
{
    for (const char* enter : {"enter", "ENTER", "eNtEr"})
        EXPECT_EQ(DecodeCutWord(enter), "\r\n") << enter;
    for (const char* space : {"space", "SPACE", "Space"})
        EXPECT_EQ(DecodeCutWord(space), " ") << space;
    EXPECT_EQ(DecodeCutWord("enters"), "enters");
    EXPECT_EQ(DecodeCutWord(" enter"), " enter");
    EXPECT_EQ(DecodeCutWord("。"), "。");
    EXPECT_EQ(DecodeCutWord(""), "");

    EXPECT_EQ(EncodeCutWord("\r\n"), "enter");
    EXPECT_EQ(EncodeCutWord(" "), "space");
    EXPECT_EQ(EncodeCutWord("  "), "  ");
    EXPECT_EQ(EncodeCutWord("\n"), "\n");
    EXPECT_EQ(EncodeCutWord("Enter"), "Enter");
    EXPECT_EQ(EncodeCutWord("!"), "!");
}

}  // namespace
}  // namespace leafmill
