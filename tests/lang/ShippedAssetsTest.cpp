#include "CaseName.h"
#include "TestSupport.h"

#include "app/SettingsStore.h"
#include "convert/SourceDispatch.h"
#include "lang/LanguageFiles.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <tuple>

namespace leafmill {
namespace {

namespace fs = std::filesystem;

const fs::path kAssets = LEAFMILL_ASSETS_DIR;

TEST(ShippedAssetsTest, MainIniLoadsWithTheValuesForTheNotesReader)
{
    test::TempDir dir;
    fs::copy_file(kAssets / "main.ini", dir / "main.ini");
    SettingsStore store(dir / "main.ini");
    std::string error;
    ASSERT_TRUE(store.LoadSettings(&error)) << error;
    const Settings& s = store.record();
    ASSERT_EQ(s.CutTypeTable.size(), 2u);
    EXPECT_EQ(std::tie(s.CutTypeTable[0].SingleFileSize, s.CutTypeTable[0].InOutFileSize,
                       s.CutTypeTable[1].SingleFileSize, s.CutTypeTable[1].InOutFileSize),
              std::make_tuple(4000, 400, 2000, 200));
    EXPECT_EQ(std::tie(s.MyLagIndex, s.BookName), std::make_tuple("English", ""));
    EXPECT_EQ(std::tie(s.CutTypeIndex, s.KeepFileSize, s.OpenFilesFilterIndex), std::make_tuple(0, 0, 1));
    // The user's cut words start as the factory ones.
    EXPECT_EQ(s.CutWord, (std::vector<std::string> {"\r\n", ".", "!", "?", ";", " "}));
    std::vector<std::string> factory;
    for (const std::string& word : store.defaultCutWords())
        factory.push_back(DecodeCutWord(word));
    EXPECT_EQ(factory, s.CutWord);
    // The filter alternates names and patterns; the first entry takes every
    // kind the program reads, the last is all files.
    const std::string supported = s.Filter.substr(0, s.Filter.find('|', s.Filter.find('|') + 1)) + ";";
    EXPECT_TRUE(supported.starts_with("Supported documents|")) << s.Filter;
    for (const SourceKind& kind : defaultDispatchTable())
        EXPECT_NE(supported.find((kind.ending.starts_with('.') ? "*" : "*.") + std::string(kind.ending) + ";"),
                  std::string::npos)
            << kind.ending;
    EXPECT_TRUE(s.Filter.ends_with("|All files|*.*")) << s.Filter;
    EXPECT_EQ(std::count(s.Filter.begin(), s.Filter.end(), '|') % 2, 1);

    // Saving rewrites the user keys only; the notes survive.
    const std::string before = test::readFile(dir / "main.ini");
    ASSERT_TRUE(store.SaveSettings(&error)) << error;
    EXPECT_EQ(test::readFile(dir / "main.ini"), before);
}

class ShippedLanguageTest : public ::testing::TestWithParam<const char*> { };

TEST_P(ShippedLanguageTest, HasEveryStringTheProgramUses)
{
    // The mark makes the Chinese file readable in any code page.
    auto codePage = CodePage::open("windows-1252");
    LanguageTable table;
    std::string error;
    ASSERT_TRUE(table.LoadLanguageTable(kAssets / "language", GetParam(), *codePage, &error)) << error;
    EXPECT_EQ(table.SoftName, "Leafmill");
    EXPECT_FALSE(table.HomePage.empty());
    EXPECT_EQ(table.MaxLngNum, StringId::Highest);
    for (int i = 1; i <= StringId::Highest; ++i) {
        if (!LanguageTable::isProgramString(i))
            continue;
        EXPECT_FALSE(table.text(i).empty()) << GetParam() << " lacks string " << i;
        EXPECT_EQ(table.text(i).find("\xEF\xBF\xBD"), std::string::npos) << "no replacement character in " << i;
    }
    // The source path follows string 13 directly.
    const std::string& converting = table.text(StringId::Converting);
    EXPECT_TRUE(converting.ends_with(" ") || converting.ends_with("：")) << converting;
    EXPECT_NE(table.text(StringId::RunFinished).find("@BookName"), std::string::npos);
    EXPECT_NE(table.text(StringId::FailureNotConverted).find("@Reason"), std::string::npos);
    EXPECT_NE(table.text(StringId::FailurePageNotWritten).find("@Reason"), std::string::npos);
    EXPECT_NE(table.text(StringId::BookFolderNotCreated).find("@Folder"), std::string::npos);
    EXPECT_NE(table.text(StringId::SettingsNotSaved).find("@File"), std::string::npos);
    EXPECT_NE(table.text(StringId::LanguageFallback).find("@Used"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Files, ShippedLanguageTest, ::testing::Values("English", "SimplifiedChinese"),
                         test::NamedByValue());

// A language file that lacks a newer string shows the built-in English one,
// which must say what the shipped English file says under the same number.
TEST(ShippedAssetsTest, BothLanguagesAreListedAndTheBuiltInEnglishIsTheShippedOne)
{
    auto codePage = CodePage::open("windows-1252");
    LanguageList list = listLanguages(kAssets / "language", "English", *codePage);
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0].displayName, "English");
    EXPECT_EQ(list.entries[1].displayName, "简体中文");
    EXPECT_EQ(list.entries[1].baseName, "SimplifiedChinese");
    EXPECT_EQ(list.selected, 0);
    LanguageTable shipped, builtIn;
    ASSERT_TRUE(shipped.LoadLanguageTable(kAssets / "language", "English", *codePage, nullptr));
    for (int i = StringId::FirstAdded; i <= StringId::Highest; ++i)
        if (!builtIn.text(i).empty()) {
            EXPECT_EQ(builtIn.text(i), shipped.text(i)) << "string " << i;
        }
}

}  // namespace
}  // namespace leafmill
