#include "CaseName.h"
#include "TestSupport.h"

#include "app/SettingsStore.h"
#include "extract/Formats.h"
#include "lang/LanguageFiles.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <regex>
#include <sstream>
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
    // The shipped filter offers the format table: every ending first, then
    // each kind's, then all files.
    EXPECT_EQ(s.Filter, fileDialogFilter(defaultDispatchTable()));
    // So does the README, in the same order.
    const std::string readme = test::readFile(kAssets / ".." / "README.md");
    const std::size_t from = readme.find("**Add Files** collects sources:");
    const std::string list = readme.substr(from, readme.find("Files and folders dropped", from) - from);
    const std::regex quoted("`(\\.?[a-z0-9.]+)`");
    std::vector<std::string> listed, read;
    for (std::sregex_iterator i(list.begin(), list.end(), quoted), end; i != end; ++i)
        listed.push_back(dottedEnding((*i)[1].str()));
    std::string names;
    for (const SourceKind& kind : defaultDispatchTable())
        for (std::string_view ending : kind.endings) {
            read.push_back(dottedEnding(ending));
            names += (names.empty() ? "" : " ") + read.back().substr(1);
        }
    EXPECT_EQ(listed, read);
    // And the shell completions of --format.
    for (const char* completion : {"leafmill.bash", "_leafmill"})
        EXPECT_NE(test::readFile(kAssets / ".." / "dist" / "completion" / completion).find(names), std::string::npos)
            << completion << " lacks " << names;

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
    // The file's own lines, not a table that would fall back to the built-in text.
    std::map<int, std::string> shipped;
    std::istringstream lines(test::readFile(kAssets / "language" / "English.ini"));
    const std::regex numbered(R"(^(\d{5})=(.*?)\r?$)");
    std::smatch match;
    for (std::string line; std::getline(lines, line);)
        if (std::regex_match(line, match, numbered))
            shipped[std::stoi(match[1])] = match[2];
    const LanguageTable builtIn;
    for (int i = StringId::FirstAdded; i <= StringId::Highest; ++i)
        if (!builtIn.text(i).empty() || shipped.contains(i)) {
            EXPECT_EQ(builtIn.text(i), shipped[i]) << "string " << i;
        }
}

}  // namespace
}  // namespace leafmill
