#include "targets/notes/NotesCheck.h"
#include "lang/LanguageTable.h"
#include "targets/notes/NotesFolder.h"
#include "text/PageEncoder.h"

#include "../extract/CaseFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace leafmill {
namespace {

namespace fs = std::filesystem;

// The report's lines after its heading; none for a clean folder.
std::vector<std::string> findingsOf(const fs::path& folder, const std::string& readerEncoding)
{
    const auto findings = checkNotes(folder, *PageEncoder::open(readerEncoding, nullptr));
    std::istringstream report(checkReport(LanguageTable(), "F", findings));
    std::vector<std::string> lines;
    for (std::string line; std::getline(report, line);)
        lines.push_back(line);
    EXPECT_EQ(lines.front(),
              findings.empty() ? "The Notes reader finds nothing wrong in F." : "What the Notes reader finds in F:");
    lines.erase(lines.begin());
    return lines;
}

TEST(NotesCheckTest, HandMadeFoldersShowWhatTheReaderReportsOrLoses)
{
    const auto cases = test::caseFile(LEAFMILL_TEST_DATA "/check-folders.txt");
    for (std::size_t i = 0; i < cases.size();) {
        const auto& head = cases[i++];
        test::TempDir dir;
        std::vector<std::string> expected;
        for (; i < cases.size() && cases[i].at(0) != "="; ++i) {
            if (cases[i].at(0) == "!") {
                expected.push_back(cases[i].at(1));
                continue;
            }
            fs::create_directories((dir / cases[i].at(1)).parent_path());
            test::writeFile(dir / cases[i].at(1), test::repeated(cases[i].at(2)));
        }
        EXPECT_EQ(findingsOf(dir / head.at(3), head.at(2)), expected) << head.at(1);
    }
}

// The reader loads the Notes folder depth first, each folder in name order,
// up to its 1,000th note; links to the others are dead.
TEST(NotesCheckTest, NotesPastTheThousandthDoNotLoad)
{
    test::TempDir dir;
    for (int i = 0; i < 1001; ++i) {
        const char* folder = i < 600 ? "a" : i < 1000 ? "b/c" : "b/d";
        fs::create_directories(dir / folder);
        test::writeFile(dir / folder / ("n" + std::to_string(1000 + i) + ".txt"), "x");
    }
    test::writeFile(dir / "a" / "n1000.txt", "<A HREF=\"../b/d/n2000.txt\">on</A>");
    EXPECT_EQ(notesInLoadOrder(dir.path()).back(), dir / "b" / "d" / "n2000.txt");
    EXPECT_EQ(
        findingsOf(dir.path(), "Latin-1"),
        (std::vector<std::string> {"The Notes folder holds 1001 notes; the reader loads the first 1000, folder by "
                                   "folder in name order: 1 notes, from b/d/n2000.txt on, do not load.",
                                   "a/n1000.txt: the link to \"../b/d/n2000.txt\" leads to no note the reader "
                                   "loads."}));
}

}  // namespace
}  // namespace leafmill
