#include "../extract/CaseFile.h"
#include "TestSupport.h"

#include "app/SettingsStore.h"
#include "io/FileAccess.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace leafmill {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;

const std::string kMainSection = "; factory settings\r\n[MainSettings]\r\nCodePage=windows-1252\r\nCutTypeNum=1\r\n"
                                 "SingleFileSize0=4000\r\nInOutFileSize0=400\r\nSingleFileSize1=2000\r\n"
                                 "InOutFileSize1=200\r\nFilter=Text|*.txt|All|*.*\r\nCutWordNum=2\r\n"
                                 "CutWordDef0=enter\r\n\r\n";
const std::string kUserSection = "[UserSettings]\r\nMyLagIndex=English\r\nOpenFilesFilterIndex=2\r\nCutTypeIndex=1\r\n"
                                 "BookName=Moby Dick\r\nKeepFileSize=16\r\nInPutDir=/home/reader/in\r\n"
                                 "OutPutDir=/home/reader/out\r\nCutWord0=EnTeR\r\nCutWord1=SPACE\r\nCutWord2=.\r\n"
                                 "CutWord3=!\r\nUnnamed=kept\r\n";

class SettingsStoreTest : public ::testing::Test {
protected:
    // The standard file with each `from` replaced by its `to`.
    void writeIniWith(const std::vector<std::pair<std::string, std::string>>& changes = {})
    {
        std::string text = kMainSection + kUserSection;
        for (const auto& [from, to] : changes) {
            const std::size_t at = text.find(from);
            ASSERT_NE(at, std::string::npos) << from;
            text.replace(at, from.size(), to);
        }
        writeFile(file, text);
    }

    std::string loadError()
    {
        SettingsStore store(file);
        std::string error;
        EXPECT_FALSE(store.LoadSettings(&error));
        return error;
    }

    test::TempDir dir;
    fs::path file = dir / "main.ini";
};

TEST_F(SettingsStoreTest, SaveWritesTheUserKeysBackAndLeavesEverythingElseAsItWas)
{
    writeIniWith();
    SettingsStore store(file);
    std::string error;
    ASSERT_TRUE(store.LoadSettings(&error)) << error;
    Settings& s = store.record();
    ASSERT_EQ(s.CutTypeTable.size(), 2u);
    EXPECT_EQ(s.CutTypeTable[1].SingleFileSize, 2000);
    EXPECT_EQ(s.CutTypeTable[1].InOutFileSize, 200);
    EXPECT_EQ(s.Filter, "Text|*.txt|All|*.*");
    EXPECT_EQ(std::tie(s.MyLagIndex, s.BookName, s.InPutDir, s.OutPutDir),
              std::make_tuple("English", "Moby Dick", "/home/reader/in", "/home/reader/out"));
    EXPECT_EQ(std::tie(s.OpenFilesFilterIndex, s.CutTypeIndex, s.KeepFileSize), std::make_tuple(2, 1, 16));
    EXPECT_FALSE(s.wholeFileMode());
    EXPECT_EQ(store.codePage()->name(), CodePage::open("windows-1252")->name());
    // Only the words 0..CutWordNum count; two spaces read back trimmed to nothing.
    EXPECT_EQ(s.CutWord, (std::vector<std::string> {"\r\n", " ", "."}));

    s.BookName = "Bleak House";
    s.OpenFilesFilterIndex = -3;
    s.CutWord = {"\r\n", "  ", "?"};
    ASSERT_TRUE(store.SaveSettings(&error)) << error;
    EXPECT_EQ(readFile(file),
              kMainSection
                  + "[UserSettings]\r\nMyLagIndex=English\r\nOpenFilesFilterIndex=-3\r\nCutTypeIndex=1\r\n"
                    "BookName=Bleak House\r\nKeepFileSize=16\r\nInPutDir=/home/reader/in\r\n"
                    "OutPutDir=/home/reader/out\r\nCutWord0=enter\r\nCutWord1=  \r\nCutWord2=?\r\nCutWord3=!\r\n"
                    "Unnamed=kept\r\n");
    SettingsStore again(file);
    ASSERT_TRUE(again.LoadSettings(nullptr));
    EXPECT_EQ(again.record().CutWord, (std::vector<std::string> {"\r\n", "", "?"}));
}

TEST_F(SettingsStoreTest, MissingUserKeysTakeDefaultsAndAreWrittenAtTheNextSave)
{
    writeFile(file, kMainSection + "[UserSettings]\r\nKeepFileSize=\r\n");
    SettingsStore store(file);
    std::string error;
    ASSERT_TRUE(store.LoadSettings(&error)) << error;
    const Settings& s = store.record();
    EXPECT_EQ(std::tie(s.OpenFilesFilterIndex, s.CutTypeIndex, s.KeepFileSize), std::make_tuple(1, 0, 0));
    EXPECT_EQ(s.CutWord, (std::vector<std::string> {"", "", ""}));
    ASSERT_TRUE(store.SaveSettings(&error)) << error;
    EXPECT_EQ(readFile(file).substr(kMainSection.size()),
              "[UserSettings]\r\nKeepFileSize=0\r\nMyLagIndex=\r\nOpenFilesFilterIndex=1\r\nCutTypeIndex=0\r\n"
              "BookName=\r\nInPutDir=\r\nOutPutDir=\r\nCutWord0=\r\nCutWord1=\r\nCutWord2=\r\n");
}

// The overlap may reach the dialog's most and still leave each cut room to progress (refusals: the data file).
TEST_F(SettingsStoreTest, TheOverlapMayReachTheDialogsMostAndLeaveRoomToProgress)
{
    const std::pair<const char*, int> cases[] = {{"SingleFileSize1=2000\r\nInOutFileSize1=200", 64},
                                                 {"SingleFileSize1=100\r\nInOutFileSize1=36", 63},
                                                 {"SingleFileSize1=100\r\nInOutFileSize1=100", 0},
                                                 {"SingleFileSize1=0\r\nInOutFileSize1=0", 64}};
    for (const auto& [row, keep] : cases) {
        writeIniWith({{"SingleFileSize1=2000\r\nInOutFileSize1=200", row},
                      {"KeepFileSize=16", "KeepFileSize=" + std::to_string(keep)}});
        SettingsStore store(file);
        std::string error;
        ASSERT_TRUE(store.LoadSettings(&error)) << error;
        EXPECT_EQ(store.record().KeepFileSize, keep);
        EXPECT_EQ(store.record().wholeFileMode(), std::string(row).starts_with("SingleFileSize1=0"));
    }
}

TEST_F(SettingsStoreTest, ATableOfTheMostRowsLoadsEveryRow)
{
    std::string rows = "CutTypeNum=9999\r\n";
    for (int i = 0; i <= 9999; ++i)
        rows += "SingleFileSize" + std::to_string(i) + "=" + std::to_string(1000 + i) + "\r\nInOutFileSize"
            + std::to_string(i) + "=" + std::to_string(i % 1000) + "\r\n";
    writeIniWith({{"CutTypeNum=1\r\nSingleFileSize0=4000\r\nInOutFileSize0=400\r\nSingleFileSize1=2000\r\n"
                   "InOutFileSize1=200\r\n",
                   rows}});
    SettingsStore store(file);
    std::string error;
    ASSERT_TRUE(store.LoadSettings(&error)) << error;
    const auto& table = store.record().CutTypeTable;
    ASSERT_EQ(table.size(), 10000u);
    EXPECT_EQ(table[9999].SingleFileSize, 10999);
    EXPECT_EQ(table[4321].InOutFileSize, 321);
}

TEST_F(SettingsStoreTest, TextsAreStoredInTheConfiguredCodePageOrTheSystemOne)
{
    writeIniWith({{"CodePage=windows-1252", "CodePage=windows-936"}});
    SettingsStore store(file);
    ASSERT_TRUE(store.LoadSettings(nullptr));
    store.record().BookName = "红楼梦";
    ASSERT_TRUE(store.SaveSettings(nullptr));
    EXPECT_NE(readFile(file).find("BookName=\xBA\xEC\xC2\xA5\xC3\xCE\r\n"), std::string::npos);
    SettingsStore again(file);
    ASSERT_TRUE(again.LoadSettings(nullptr));
    EXPECT_EQ(again.record().BookName, "红楼梦");

    writeIniWith({{"CodePage=windows-1252\r\n", ""}});
    ASSERT_TRUE(again.LoadSettings(nullptr));
    EXPECT_EQ(again.codePage()->name(), CodePage::open(CodePage::systemName())->name());
}

TEST_F(SettingsStoreTest, ARefusalNamesTheFileTheSectionAndTheKey)
{
    for (const auto& refusal : test::caseFile(LEAFMILL_TEST_DATA "/settings-refusals.txt")) {
        std::vector<std::pair<std::string, std::string>> changes;
        for (std::size_t i = 3; i + 1 < refusal.size(); i += 2)
            changes.emplace_back(refusal[i], refusal[i + 1]);
        writeIniWith(changes);
        const std::string error = loadError();
        EXPECT_NE(error.find(pathToUtf8(file)), std::string::npos) << error;
        EXPECT_NE(error.find("[" + refusal.at(0) + "], key " + refusal.at(1) + ":"), std::string::npos) << error;
        EXPECT_NE(error.find(refusal.at(2)), std::string::npos) << error;
    }
}

TEST_F(SettingsStoreTest, TheNotesReaderSectionIsReadAndWrittenOnlyWhenPresent)
{
    writeIniWith();
    SettingsStore plain(file);
    ASSERT_TRUE(plain.LoadSettings(nullptr));
    EXPECT_FALSE(plain.record().NotesReader.present);
    ASSERT_TRUE(plain.SaveSettings(nullptr));
    EXPECT_EQ(readFile(file).find("NotesReader"), std::string::npos);
    // The source encoding alone is written, and does not make the reader's pages.
    plain.record().NotesReader.SourceEncoding = "GBK";
    ASSERT_TRUE(plain.SaveSettings(nullptr));
    SettingsStore sourceOnly(file);
    ASSERT_TRUE(sourceOnly.LoadSettings(nullptr));
    EXPECT_FALSE(sourceOnly.record().NotesReader.present);
    EXPECT_EQ(sourceOnly.record().NotesReader.SourceEncoding, "GBK");

    writeIniWith({{"Unnamed=kept\r\n", "[NotesReader]\r\nPageEncoding=MacRoman\r\nTitles=1\r\nJoinLines=0\r\n"}});
    SettingsStore store(file);
    ASSERT_TRUE(store.LoadSettings(nullptr));
    const NotesReaderSettings& notes = store.record().NotesReader;
    EXPECT_TRUE(notes.present && notes.Titles);
    EXPECT_EQ(notes.PageEncoding, "MacRoman");
    EXPECT_FALSE(notes.Links || notes.Contents || notes.ChapterPages || notes.JoinLines);
    EXPECT_EQ(notes.VolumeNotes, 0);
    store.record().NotesReader.Links = true;
    store.record().NotesReader.VolumeNotes = 500;
    ASSERT_TRUE(store.SaveSettings(nullptr));
    SettingsStore again(file);
    ASSERT_TRUE(again.LoadSettings(nullptr));
    EXPECT_TRUE(again.record().NotesReader.Links && again.record().NotesReader.Titles);
    EXPECT_EQ(again.record().NotesReader.VolumeNotes, 500);
    EXPECT_EQ(again.record().NotesReader.PageEncoding, "MacRoman");
    EXPECT_EQ(again.record().NotesReader.SourceEncoding, "auto");
}

TEST_F(SettingsStoreTest, ARefusedLoadOrSaveChangesNothing)
{
    EXPECT_NE(loadError().find(pathToUtf8(file) + " is missing"), std::string::npos);
    writeIniWith();
    SettingsStore store(file);
    std::string error;
    EXPECT_FALSE(store.SaveSettings(&error)) << "saving before loading";
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(readFile(file), kMainSection + kUserSection);
    ASSERT_TRUE(store.LoadSettings(nullptr));
    writeIniWith({{"CutTypeIndex=1", "CutTypeIndex=9"}});
    EXPECT_FALSE(store.LoadSettings(&error));
    EXPECT_EQ(store.record().CutTypeIndex, 1);
    EXPECT_EQ(store.record().BookName, "Moby Dick");
#ifndef _WIN32
    ASSERT_EQ(chmod(file.c_str(), 0444), 0);
    error.clear();
    EXPECT_FALSE(store.SaveSettings(&error));
    EXPECT_NE(error.find("read-only"), std::string::npos) << error;
#endif
}

TEST(CutWordTest, EnterAndSpaceAreSpelledOutInEitherCase)
{
    const std::pair<const char*, const char*> decoded[]
        = {{"enter", "\r\n"},    {"eNtEr", "\r\n"}, {"SPACE", " "}, {"enters", "enters"},
           {" enter", " enter"}, {"。", "。"},      {"", ""}};
    for (const auto& [stored, word] : decoded)
        EXPECT_EQ(DecodeCutWord(stored), word) << stored;
    const std::pair<const char*, const char*> encoded[]
        = {{"\r\n", "enter"}, {" ", "space"}, {"  ", "  "}, {"\n", "\n"}, {"Enter", "Enter"}, {"!", "!"}};
    for (const auto& [word, stored] : encoded)
        EXPECT_EQ(EncodeCutWord(word), stored) << word;
}

}  // namespace
}  // namespace leafmill
