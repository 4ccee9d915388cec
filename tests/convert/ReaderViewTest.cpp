#include "convert/ReaderView.h"
#include "text/CodePage.h"

#include <gtest/gtest.h>

namespace leafmill {
namespace {

// What the reader shows of a Latin-1 note: title|text, links in [brackets]|hrefs.
TEST(ReaderViewTest, ANoteShowsItsTitleTextAndLinks)
{
    const std::pair<std::string, std::string> cases[] = {
        {"<title>Book \x96 1</title><A HREF=\"b.txt\" NOPUSH>Next</a>\r\nx<br>y<P>z",
         "Book \xc2\x96 1|[Next]\nx\ny\nz|b.txt nopush "},
        // Unknown tags and stray brackets show.
        {"1 < 2 <b>bold</b> &lt;i&gt; &amp; &copy;<!-- gone -->!", "|1 < 2 <b>bold</b> <i> & &copy;!|"},
        {"überall", "|Ã¼berall|"},  // the Latin-1 reading of UTF-8 bytes
        {std::string(4095, 'a') + "bc", "|" + std::string(4095, 'a') + "b|"},  // only the first 4096 bytes
        {"a <A HREF=\"x\"", "|a <A HREF=\"x\"|"},  // an unclosed tag shows as text
    };
    for (const auto& [bytes, expected] : cases) {
        const ReaderNote note = readReaderNote(bytes, *CodePage::open("ISO-8859-1"));
        std::string shown = note.title + "|";
        for (const NoteRun& run : note.runs)
            shown += run.link >= 0 ? "[" + run.text + "]" : run.text;
        shown += "|";
        for (const NoteLink& link : note.links)
            shown += link.href + (link.nopush ? " nopush " : " ");
        EXPECT_EQ(shown, expected);
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
