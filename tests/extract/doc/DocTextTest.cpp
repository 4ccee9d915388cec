// Stored characters to plain text: marks, hyphens, spaces, fields, and refused documents.
#include "CompoundFileWriter.h"
#include "WordFileBuilder.h"
#include "extract/doc/DocToText.h"

#include <gtest/gtest.h>

namespace leafmill::extract {
namespace {

using test::WordFilePlan;

std::string textOf(std::u16string text, bool compressed = false)
{
    WordFilePlan plan;
    plan.pieces = {{std::move(text), compressed}};
    const Result result = test::convertWordFile(plan);
    EXPECT_TRUE(result.ok) << result.error;
    return result.text;
}

TEST(DocText, BreaksEndLinesAndSpecialCharactersBecomeWhatAReaderExpects)
{
    EXPECT_EQ(textOf(u"para\rline\vbreak\fpage\r"), "para\r\nline\r\nbreak\r\npage\r\n");
    EXPECT_EQ(textOf(u"non\u001Ebreaking opt\u001Fional\u00A0space\ttab\r"), "non-breaking optional space\ttab\r\n");
    EXPECT_EQ(textOf(u"pic\u0001ture draw\u0008n note\u0002 ref\u0005 mark\u0003\u007F\u0090\r"),
              "picture drawn note ref mark\r\n");
    EXPECT_EQ(textOf(u"8-bit\u001F too\u001E\u00A0\r", true), "8-bit too- \r\n");
    // A lone surrogate cannot be written as UTF-8.
    EXPECT_EQ(textOf(std::u16string {u'a', 0xD800, u'b', 0xDC00, u'\r'}), "a\uFFFDb\uFFFD\r\n");
    // The text always ends with a line end, even when the document has none.
    EXPECT_EQ(textOf(u"no mark"), "no mark\r\n");
    EXPECT_EQ(textOf(u""), "\r\n");
}

TEST(DocText, FieldsShowTheirResultsOnly)
{
    EXPECT_EQ(textOf(u"See \u0013 HYPERLINK \"http://x\" \u0014the site\u0015 now.\r"), "See the site now.\r\n");
    // A nested field inside the instructions stays hidden; one in the result shows its own result.
    EXPECT_EQ(textOf(u"A\u0013IF \u0013 DATE \u0014x\u0015 = 1 \u0014shown \u0013PAGE\u00147\u0015!\u0015Z\r"),
              "Ashown 7!Z\r\n");
    // No separator: nothing shows. Stray separators and ends are ignored.
    EXPECT_EQ(textOf(u"a\u0013PAGE\u0015b\u0014\u0015c\r"), "abc\r\n");
    // Phonetic guides show their base text: the last argument of the outer group.
    EXPECT_EQ(textOf(u"\u0013 EQ \\* jc2 \\o\\ad(\\s\\up 10(\u3068\u3046),\u6771\u4EAC)\u0015\u3078\r"),
              "\u6771\u4EAC\u3078\r\n");
    EXPECT_EQ(textOf(u"\u0013 eq \\f(1,2)\u0015.\u0013EQUATION(x)\u0015\r"), "2.\r\n");
    // A field left open at the end of the main text does not hide the notes.
    WordFilePlan plan;
    plan.pieces = {{u"body\u0013 REF x \r", false}, {u"note\r", false}};
    plan.ccpText = 13;
    plan.ccpFtn = 5;
    EXPECT_EQ(test::convertWordFile(plan).text, "body\r\nnote\r\n");
}

TEST(DocText, CellsBecomeTabsAndRowEndsLineEnds)
{
    // By the paragraph formatting: two rows of two cells, the second with an empty last cell.
    WordFilePlan plan;
    plan.pieces = {{u"Intro\ra\u0007b\u0007\u0007c\u0007\u0007\u0007After\r", true}};
    plan.paragraphRuns = {{10, 11, "\x17\x24\x01"}, {14, 15, "\x4C\x24\x01"}};
    Result result = test::convertWordFile(plan);
    EXPECT_EQ(result.text, "Intro\r\na\tb\t\r\nc\t\t\r\nAfter\r\n");
    EXPECT_TRUE(result.warnings.empty());

    // Without it, the second of two cell marks is taken as the row end.
    plan.paragraphRuns.clear();
    result = test::convertWordFile(plan);
    EXPECT_EQ(result.text, "Intro\r\na\tb\t\r\nc\t\r\n\r\nAfter\r\n");
    EXPECT_EQ(result.warnings,
              std::vector<std::string> {"the table layout could not be read, so the ends of table rows were guessed"});
}

TEST(DocText, StoryLengthsBeyondThePieceTableAreCutToIt)
{
    WordFilePlan plan;
    plan.pieces = {{u"short\r", true}};
    plan.ccpText = 4000000000L;
    plan.ccpFtn = 4000000000U;
    const Result result = test::convertWordFile(plan);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "short\r\n");
}

TEST(DocText, ReportsProgressUpToTheEnd)
{
    WordFilePlan plan;
    plan.pieces = {{std::u16string(200000, u'x') + u"\r", true}};
    std::vector<int> seen;
    Options options;
    options.progress = [&](int percent) { seen.push_back(percent); };
    ASSERT_TRUE(docToText(test::wordFile(test::buildWordStreams(plan)), options).ok);
    ASSERT_GT(seen.size(), 2u);
    EXPECT_LT(seen.front(), 100);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

TEST(DocText, RefusesWhatIsNoWord97DocumentWithTheReason)
{
    WordFilePlan plan;
    plan.pieces = {{u"secret\r", true}};
    const test::WordStreams streams = test::buildWordStreams(plan);
    const auto read = [](const std::vector<std::pair<std::string, std::string>>& named) {
        return docToText(test::compoundFile(named), {});
    };
    // The stream names in any case; "0Table" where the block names it.
    EXPECT_EQ(read({{"worddocument", streams.wordDocument}, {"1table", streams.table}}).text, "secret\r\n");
    std::string zeroTable = streams.wordDocument;
    zeroTable[0x0B] = 0;
    EXPECT_EQ(read({{"WordDocument", zeroTable}, {"0Table", streams.table}}).text, "secret\r\n");
    EXPECT_EQ(read({{"WordDocument", zeroTable}, {"1Table", streams.table}}).error,
              "the document's table stream 0Table is missing");
    EXPECT_EQ(read({{"WordDocument", streams.wordDocument}}).error, "the document's table stream 1Table is missing");
    EXPECT_NE(read({{"Workbook", std::string(5000, 'x')}}).error.find("no WordDocument"), std::string::npos);

    const std::pair<std::string, std::string> foreign[] = {
        {std::string("\xDB\xA5\x2D\x00", 4), "Word 2 document"},
        {"\xEF\xBB\xBF<?xml version=\"1.0\"?><?mso-application progid=\"Word.Document\"?>", "WordML"},
        {"{\\rtf1\\ansi hello}", "RTF document"},
        {"\xFFWPC\x10\x00", "WordPerfect"},
        {"PK\x03\x04", ".docx"},
        {"<html><body>hi</body></html>", "XML or HTML"},
        {"plain words", "does not start with a compound-file header"},
        {"", "empty"},
    };
    for (const auto& [bytes, words] : foreign) {
        const Result result = docToText(bytes, Options {});
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(words), std::string::npos) << result.error;
    }
}

}  // namespace
}  // namespace leafmill::extract
