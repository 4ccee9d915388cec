#include "TestSupport.h"
#include "convert/HeadingLines.h"
#include "convert/JoinLines.h"
#include "convert/SourceTextPieces.h"
#include "extract/common/ChapterTitle.h"
#include "text/CodePage.h"
#include "text/PageEncoder.h"

#include <gtest/gtest.h>

namespace leafmill {
namespace {

TEST(HeadingLinesTest, TellsHeadingsFromProse)
{
    std::string levels;  // 2 a chapter, 1 a part, 0 prose
    for (const char* line :
         {"Chapter 12", "CHAPTER XII.", "  Chapter One: Down\r", "Part Two", "BOOK 3 - The Return", "第十二章 归来",
          "第12回", "Part of the way home he walked.", "Chapters are long", "The chapter 12 ends here", "第一", "",
          "Chapter 1 and then a very long sentence that goes on and on well past what a heading holds"})
        levels += std::to_string(headingLevel(line));
    EXPECT_EQ(levels, "2221122000000");
}

TEST(HeadingLinesTest, OffsetsPointAtTheHeadingLinesAndTitlesAreTidied)
{
    const std::string text = "Title page\r\n\r\nChapter 1\r\nIt begins.\r\nCHAPTER II\r\nIt ends.\r\n";
    const auto chapters = headingLines(text);
    ASSERT_EQ(chapters.size(), 2u);
    EXPECT_EQ(chapters[0].title, "Chapter 1");
    EXPECT_EQ(text.substr(chapters[0].offset, 9), "Chapter 1");
    EXPECT_EQ(text.substr(chapters[1].offset, 10), "CHAPTER II");
    // A title's blanks become one space; a long one is cut on a character.
    EXPECT_EQ(extract::chapterTitle(" \tOne\r\n two\rthree\nfour "), "One two three four");
    EXPECT_EQ(extract::chapterTitle(std::string(239, 'a') + "\xC3\xA9\xC3\xA9"), std::string(239, 'a'));
}

// A source's bytes and chapters as they come out of text handed on whole and
// handed on a line at a time.
struct MadeText {
    std::string bytes;
    std::vector<std::string> chapters;  // title@offset into the bytes
};

MadeText madeText(const std::string& text, const std::vector<extract::Chapter>& own, const PageEncoder* encoder,
                  bool lineByLine)
{
    const auto codePage = CodePage::open("windows-1252");
    PageTextRules rules;
    rules.encoder = encoder;
    MadeText made;
    SourceSink sink;
    sink.bytes = [&](std::string_view bytes) { made.bytes += bytes; };
    SourceTextPieces pieces(*codePage, rules, sink);
    std::size_t from = 0;
    auto chapter = own.begin();
    while (from < text.size()) {
        const std::size_t lineEnd = text.find('\n', from);
        const std::size_t to = lineByLine && lineEnd != std::string::npos ? lineEnd + 1 : text.size();
        const auto first = chapter;
        while (chapter != own.end() && (chapter->offset < to || to == text.size()))
            ++chapter;
        pieces.add(std::string_view(text).substr(from, to - from), std::span(first, chapter));
        from = to;
    }
    PreparedSource prepared;
    pieces.finish("file", prepared);
    for (const ChapterMark& mark : prepared.chapters)
        made.chapters.push_back(mark.title + "@" + std::to_string(mark.offset));
    return made;
}

TEST(SourceTextPiecesTest, TextHandedOnInPiecesMakesTheSameBytesAndChapters)
{
    const auto latin1 = PageEncoder::open("Latin-1", nullptr);
    const std::string text = "  \r\nPreface “one”\r\nChapter 1\r\nCafé – ok\r\nChapter 2\r\n中 end";
    const std::size_t second = text.find("Café");
    const std::vector<extract::Chapter> own = {{"Own", second, 1}, {"Late", text.size() + 9, 1}};
    // Curly quotes, é and the dash take fewer bytes in Latin-1: 2 + 2, 1, 2.
    const std::string headingAt = std::to_string(text.find("Chapter 1") - 4);
    struct Case {
        std::vector<extract::Chapter> own;
        const PageEncoder* encoder;
        std::vector<std::string> chapters;
    };
    for (const Case& c : std::vector<Case> {
             // No chapter of its own: the heading lines, after the file's name for the preface.
             {{},
              latin1.get(),
              {"file@0", "Chapter 1@" + headingAt, "Chapter 2@" + std::to_string(text.find("Chapter 2") - 7)}},
             {own, latin1.get(), {"file@0", "Own@" + std::to_string(second - 4), "Late@end"}},
             {{{"First", 2, 1}}, latin1.get(), {"First@2"}},
             {own, nullptr, {}},  // the code page: bytes only
         }) {
        const MadeText whole = madeText(text, c.own, c.encoder, false);
        const MadeText pieces = madeText(text, c.own, c.encoder, true);
        EXPECT_EQ(pieces.bytes, whole.bytes);
        EXPECT_EQ(pieces.chapters, whole.chapters);
        std::vector<std::string> expected = c.chapters;
        for (std::string& chapter : expected)
            if (chapter.ends_with("@end"))  // past the text: at its end
                chapter.replace(chapter.size() - 3, 3, std::to_string(whole.bytes.size()));
        EXPECT_EQ(whole.chapters, expected);
        EXPECT_EQ(whole.bytes.find("Caf\xE9 - ok"), c.encoder ? second - 4 : std::string::npos);
    }
}

TEST(JoinLinesTest, UnwrapsWrappedProseAndKeepsParagraphsVerseAndLists)
{
    const std::string a = "It was the best of times, it was the worst of times, it was the age";
    const std::string b = "of wisdom, it was the age of foolishness, it was the epoch of belief,";
    const std::string c = "it was the epoch of incredulity.";
    const std::string text = a + " \t\r\n" + b + "\r\n" + c + "\r\n\r\n" + b + "\r\n" + a + "\r\n"
        + "  Indented paragraph starts here and it is long enough to be wrapped at.\r\n" + b + "\r\n"
        + "Short verse line\r\nAnother short line\r\n- a list item that is long enough to be wrapped\r\n"
        + "- another\r\n";
    const std::string joined = joinedLines(text);
    EXPECT_NE(joined.find(a + " " + b + " " + c + "\r\n\r\n"), std::string::npos) << joined;
    EXPECT_NE(joined.find(b + " " + a + "\r\n  Indented"), std::string::npos) << joined;
    EXPECT_NE(joined.find("Short verse line\r\nAnother short line\r\n- a list"), std::string::npos) << joined;
    EXPECT_NE(joined.find("wrapped\r\n- another\r\n"), std::string::npos) << joined;

    // Every kind of list item starts a line of its own, after a full one too.
    const std::string items = a + "\r\n* " + b + "\r\n+ " + b + "\r\n- " + b + "\r\n12) " + b + "\r\n3. " + c + "\r\n";
    EXPECT_EQ(joinedLines(items), items);

    const std::string verse = "Roses are red\nViolets are blue\nSugar is sweet\nAnd so are you\n";
    EXPECT_EQ(joinedLines(verse), verse);
}

// The width of the line three quarters up the lines sorted by width; blank
// lines do not count, and fewer than four lines tell none.
TEST(JoinLinesTest, TheWrappingWidthIsThatOfTheThreeQuarterLine)
{
    const auto measured = [](const std::string& text) {
        WrapWidth wrap;
        wrap.add(text);
        return wrap.measured();
    };
    std::string lines;
    for (const std::size_t columns : {80u, 10u, 70u, 20u, 60u, 30u, 50u, 40u})
        lines += std::string(columns, 'x') + "\n";
    EXPECT_EQ(measured(lines), 70u);
    const std::string line(50, 'x');
    EXPECT_EQ(measured(line + "\n \t\n" + line + "\r\n" + line), 0u);
}

TEST(JoinLinesTest, ALineIsMeasuredInCharactersNotBytes)
{
    const std::string full = "It was the best of times, it was the worst of";
    std::string accented;  // 34 characters in 59 bytes: shorter than the wrapped lines
    for (int i = 0; i < 25; ++i)
        accented += "\xC3\xA9";
    accented += " the end.";
    const std::string text = full + "\r\n" + full + "\r\n" + full + "\r\n" + accented + "\r\n" + full + "\r\n" + full
        + "\r\n" + full + "\r\n";
    EXPECT_NE(joinedLines(text).find(full + " " + accented + "\r\n" + full + " "), std::string::npos)
        << joinedLines(text);
}

// The text joined as a source hands it on: in pieces cut behind every line
// end (`step` 0) or every `step` bytes, inside a CR LF or a character too.
std::string joinedInPieces(std::string_view text, std::size_t step)
{
    std::vector<std::string_view> pieces;
    for (std::size_t at = 0, end = 0; at < text.size(); at = end) {
        end = step ? at + step : text.find('\n', at) + 1;
        end = end == 0 ? text.size() : std::min(end, text.size());
        pieces.push_back(text.substr(at, end - at));
    }
    WrapWidth wrap;
    for (std::string_view piece : pieces)
        wrap.add(piece);
    LineJoiner joiner(wrap.measured());
    std::string joined;
    for (std::string_view piece : pieces)
        joined += joiner.add(piece);
    return joined + joiner.finish();
}

// The e-books' sources have one paragraph per line; wrapped at 70 columns,
// with a title block, chapter headings, dialogue, an indented paragraph, verse
// and a numbered list, or at 60 columns in Chinese, Japanese (no blanks
// between characters) and Korean (blanks between words), they must come back
// as they were written, whether joined whole or a piece at a time.
TEST(JoinLinesTest, AWrappedEbookComesBackAsItsParagraphs)
{
    for (const char* book : {"ebook.txt", "ebook-cjk.txt"}) {
        std::string expected;
        for (char c : test::readFile(test::documentsDir() / "sources" / book))
            expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
        std::string wrapped = test::readFile(test::documentsDir() / book);
        EXPECT_EQ(joinedLines(wrapped), expected) << book;
        // Ending in a lone CR, or in no line end at all.
        for (const std::string ending : {"", "\r", "\r\n\r", "\r\nThe end, unwrapped"}) {
            const std::string text = wrapped + ending;
            const std::string whole = joinedLines(text);
            for (const std::size_t step : {0u, 1u, 7u, 500u})
                EXPECT_EQ(joinedInPieces(text, step), whole) << book << " in pieces of " << step;
        }
    }
}

}  // namespace
}  // namespace leafmill
