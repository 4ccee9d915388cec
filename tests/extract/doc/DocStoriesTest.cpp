// Notes and text boxes after the main text, headers and comments left out; broken streams.
#include "CompoundFileWriter.h"
#include "WordFileBuilder.h"
#include "extract/doc/DocToText.h"

#include <gtest/gtest.h>

#include <cstring>

namespace leafmill::extract {
namespace {

using test::Bytes;
using test::WordFilePlan;
using namespace std::string_literals;

// A position table: the positions, then the entries.
std::string plc(const std::vector<std::uint32_t>& cps, const std::vector<std::string>& entries = {})
{
    Bytes out;
    for (std::uint32_t cp : cps)
        out.n(cp, 4);
    for (const std::string& entry : entries)
        out.s += entry;
    return out.s;
}

// Auto, custom-marked and auto footnotes and two auto endnotes; then the stories, and text
// boxes: the second kept for reuse, the last one closing the story.
WordFilePlan notesAndBoxes()
{
    WordFilePlan plan;
    plan.pieces = {{u"One\u0002 two* three\u0002 four\u0002 five\u0002.\r", true},
                   {u"\u0002 one\r* two\r\u0002 three\r\r", false},
                   {u"Header\r\r", true},
                   {u"Comment\r", true},
                   {u"\u0002 end\r\u0002 last\r\r", true},
                   {u"Box\r\rOld\r\rSecond box\r\r\r", true}};
    plan.ccpText = 30;
    plan.ccpFtn = 21;
    plan.ccpHdd = plan.ccpAtn = 8;
    plan.ccpEdn = 14;
    plan.ccpTxbx = 23;
    const std::string autoMark = Bytes {}.n(1, 2).s, box(22, '\0');
    std::string reusable = box;
    reusable[8] = 1;
    plan.tableParts = {{2, plc({3, 8, 21, 30}, {autoMark, Bytes {}.n(0, 2).s, autoMark})},
                       {3, plc({0, 6, 12, 20, 21})},
                       {46, plc({15, 27, 30}, {autoMark, autoMark})},
                       {47, plc({0, 6, 13, 14})},
                       {56, plc({0, 5, 10, 22, 23}, {box, reusable, box, box})}};
    return plan;
}

// Document properties: the notes' starts, restarts in each section, and number formats.
std::string dop(unsigned footStart, unsigned footRestart, unsigned endStart, unsigned endRestart, unsigned footFormat,
                unsigned endFormat)
{
    std::string out(56, '\0');
    test::put(out, 2, std::uint16_t(footStart << 2 | footRestart), 2);
    test::put(out, 52, std::uint16_t(endStart << 2 | endRestart), 2);
    test::put(out, 54, std::uint16_t(footFormat << 2 | endFormat << 6), 2);
    return out;
}

TEST(DocStories, NotesAndBoxesFollowTheMainTextWithTheirNumbers)
{
    const struct {
        std::string dop;  // empty: none
        const char *main, *notes;
        bool boxTable = true;  // without it the boxes' whole story is one box
    } cases[] = {
        {"", "One1 two* threei four2 fiveii.", "1 one\r\n* two\r\n2 three\r\n\r\ni end\r\nii last\r\n\r\n"},
        {dop(3, 0, 4, 0, 4, 1), "Onec two* threeIV fourd fiveV.",
         "c one\r\n* two\r\nd three\r\n\r\nIV end\r\nV last\r\n\r\n"},
        {dop(1, 0, 1, 0, 9, 0), "One* two* three1 four\u2020 five2.",
         "* one\r\n* two\r\n\u2020 three\r\n\r\n1 end\r\n2 last\r\n\r\n"},
        {dop(1, 1, 1, 1, 0, 2), "One1 two* threei four1 fivei.",
         "1 one\r\n* two\r\n1 three\r\n\r\ni end\r\ni last\r\n\r\n"},
        {"", "One1 two* threei four2 fiveii.", "1 one\r\n* two\r\n2 three\r\n\r\ni end\r\nii last\r\n\r\n", false},
    };
    for (const auto& c : cases) {
        WordFilePlan plan = notesAndBoxes();
        if (!c.dop.empty())
            plan.tableParts.push_back({31, c.dop});
        if (!c.boxTable)
            plan.tableParts.pop_back();
        // A second section starts at "four".
        plan.tableParts.push_back({6, plc({0, 20, 104}, {std::string(12, '\0'), std::string(12, '\0')})});
        std::size_t mainLength = 0;
        const Result result = test::convertWordFile(plan, &mainLength);
        ASSERT_TRUE(result.ok) << c.main << ": " << result.error;
        const char* boxes = c.boxTable ? "Box\r\nSecond box\r\n" : "Box\r\n\r\nOld\r\n\r\nSecond box\r\n\r\n\r\n";
        EXPECT_EQ(result.text, c.main + "\r\n"s + boxes + c.notes);
        EXPECT_EQ(mainLength, std::strlen(c.main) + 2) << c.main;
        EXPECT_TRUE(result.warnings.empty()) << c.main;
    }
}

TEST(DocDamagedStream, GivesTheTextBeforeTheBreakOrRefuses)
{
    // A 1024-byte information block, then 4000 one-byte characters.
    WordFilePlan plan;
    std::u16string text;
    std::string shown;
    for (int i = 0; i < 4000; ++i) {
        text += i % 50 == 49 ? u'\r' : char16_t(u'a' + i % 26);
        shown += i % 50 == 49 ? "\r\n" : std::string(1, char(u'a' + i % 26));
    }
    plan.pieces = {{text, true}};
    const test::WordStreams streams = test::buildWordStreams(plan);
    test::CompoundFileWriter writer;
    writer.add("WordDocument", streams.wordDocument);
    writer.add("1Table", streams.table);
    test::CompoundFileWriter::Layout layout;
    const std::string file = writer.write(&layout);
    // The sectors of the stream kept, what the last one points to, what is
    // said, and how many characters are given (0: refused).
    const struct {
        std::uint32_t kept, link;
        const char* said;
        std::size_t given;
    } breaks[] = {{4, 90000, "the document is damaged; 2976 characters could not be read", 1024},
                  {5, 0xFFFFFFFF, "the document is damaged; 2464 characters could not be read", 1536},
                  {2, 90000, "the document is damaged and none of its text can be read", 0},
                  {1, 90000, "breaks off inside the file information block", 0}};
    for (const auto& broken : breaks) {
        std::string damaged = file;
        const std::uint32_t last = layout.streamStart[0] + broken.kept - 1;
        test::put(damaged, writer.sectorOffset(layout.firstFatSector) + 4 * last, broken.link, 4);
        const Result result = docToText(damaged, Options {});
        const std::string& said = result.ok && !result.warnings.empty() ? result.warnings[0] : result.error;
        EXPECT_NE(said.find(broken.said), std::string::npos) << said;
        // 1024 and 1536 characters: 20 and 30 lines of 50.
        EXPECT_EQ(result.text, broken.given ? shown.substr(0, broken.given + broken.given / 50) + "\r\n" : "");
    }
}

}  // namespace
}  // namespace leafmill::extract
