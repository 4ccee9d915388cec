#include "targets/notes/ReaderView.h"
#include "text/PageEncoder.h"

#include "../extract/CaseFile.h"

#include <gtest/gtest.h>

namespace leafmill {
namespace {

TEST(ReaderViewTest, ANoteShowsItsTitleTextAndLinksInTheEncodingItDeclares)
{
    for (const auto& c : test::caseFile(LEAFMILL_TEST_DATA "/reader-notes.txt")) {
        const ReaderNote note = readReaderNote(test::repeated(c.at(1)), *PageEncoder::open(c.at(0), nullptr));
        std::string shown = note.title + "|";
        for (const NoteRun& run : note.runs)
            shown += run.link >= 0 ? "[" + run.text + "]" : run.text;
        shown += "|";
        for (const NoteLink& link : note.links)
            shown += link.href + (link.nopush ? " nopush " : " ");
        std::string badTags;
        for (const std::string& tag : note.badTags)
            badTags += (badTags.empty() ? "" : " ; ") + tag;
        EXPECT_EQ(shown + "\t" + note.encoding + "\t" + std::to_string(note.faults.count) + "@"
                      + std::to_string(note.faults.first) + "\t" + badTags + "\t" + note.cutFrom,
                  test::repeated(c.at(2)) + "\t" + c.at(3) + "\t" + c.at(4) + "\t" + c.at(5) + "\t" + c.at(6))
            << c.at(1).substr(0, 60);
    }
}

TEST(ReaderViewTest, LinesBreakAfterSpacesAndLongWordsBetweenCharacters)
{
    const auto bytes = [](std::string_view text) { return static_cast<int>(text.size()); };
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"aaa bbb ccc", {"aaa bbb ", "ccc"}},
        {"aaaaaaaaaaaa b", {"aaaaaaaa", "aaaa b"}},
        {"ab\ncd\n\nef", {"ab", "cd", "", "ef"}},
        {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", "\xc3\xa9"}},
    };
    for (const auto& [text, expected] : cases) {
        ReaderNote note;
        note.runs = {{text, -1}};
        std::vector<std::string> lines;
        for (const LineOfRuns& line : wrapNote(note, 8, bytes)) {
            lines.emplace_back();
            for (const NoteRun& run : line)
                lines.back() += run.text;
        }
        EXPECT_EQ(lines, expected) << text;
    }
    // A character wider than the line has a line of its own, whole.
    ReaderNote wide;
    wide.runs = {{"\xe4\xb8\xad\xe6\x96\x87", -1}};
    const auto columns = wrapNote(wide, 2, bytes);
    ASSERT_EQ(columns.size(), 2u);
    EXPECT_EQ(columns[0].front().text, "\xe4\xb8\xad");
    EXPECT_EQ(columns[1].front().text, "\xe6\x96\x87");
    // A link that wraps keeps its index on both lines.
    ReaderNote linked;
    linked.runs = {{"ab ", -1}, {"cd ef", 0}};
    const auto lines = wrapNote(linked, 6, bytes);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].back().link, 0);
    EXPECT_EQ(lines[1].front().text, "ef");
    EXPECT_EQ(lines[1].front().link, 0);
}

TEST(ReaderViewTest, MenuGoesBackPastNotesReachedWithoutPush)
{
    ReaderHistory history;
    history.open("contents");
    history.follow({"chapter", false});
    history.follow({"page2", true});
    history.follow({"page3", true});
    EXPECT_EQ(*history.current(), "page3");
    ASSERT_TRUE(history.back());
    EXPECT_EQ(*history.current(), "contents");
    ASSERT_TRUE(history.back());
    EXPECT_EQ(history.current(), nullptr);
    EXPECT_FALSE(history.back());
}

}  // namespace
}  // namespace leafmill
