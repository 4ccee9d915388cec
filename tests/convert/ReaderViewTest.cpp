#include "convert/ReaderView.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

namespace leafmill {
namespace {

struct NoteCase {
    const char* name;
    std::string bytes;  // Latin-1
    std::string title;
    std::string shown;  // links in [brackets]
    std::vector<std::string> hrefs;
};

std::string shownOf(const ReaderNote& note)
{
    std::string shown;
    for (const NoteRun& run : note.runs)
        shown += run.link >= 0 ? "[" + run.text + "]" : run.text;
    return shown;
}

class ReaderNoteTest : public ::testing::TestWithParam<NoteCase> { };

TEST_P(ReaderNoteTest, ShowsWhatTheReaderShows)
{
    const NoteCase& c = GetParam();
    const ReaderNote note = readReaderNote(c.bytes, *CodePage::open("ISO-8859-1"));
    EXPECT_EQ(note.title, c.title);
    EXPECT_EQ(shownOf(note), c.shown);
    std::vector<std::string> hrefs;
    for (const NoteLink& link : note.links)
        hrefs.push_back(link.href + (link.nopush ? " nopush" : ""));
    EXPECT_EQ(hrefs, c.hrefs);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReaderNoteTest,
    ::testing::Values(
        NoteCase {"TitleLinksAndBreaks",
                  "<title>Book \x96 1</title><A HREF=\"b.txt\" NOPUSH>Next</a>\r\nx<br>y<P>z",
                  "Book \xc2\x96 1",
                  "[Next]\nx\ny\nz",
                  {"b.txt nopush"}},
        NoteCase {"UnknownTagsAndStrayBracketsShow",
                  "1 < 2 <b>bold</b> &lt;i&gt; &amp; &copy;<!-- gone -->!",
                  "",
                  "1 < 2 <b>bold</b> <i> & &copy;!",
                  {}},
        NoteCase {"Latin1BytesOfUtf8ShowAsTheyWould",
                  "\xc3\xbc"
                  "berall",
                  "",
                  "\xc3\x83\xc2\xbc"
                  "berall",
                  {}},
        NoteCase {"OnlyTheFirst4096BytesAreRead", std::string(4095, 'a') + "bc", "", std::string(4095, 'a') + "b", {}},
        NoteCase {"AnUnclosedTagShowsAsText", "a <A HREF=\"x\"", "", "a <A HREF=\"x\"", {}}),
    [](const auto& param) { return std::string(param.param.name); });

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
