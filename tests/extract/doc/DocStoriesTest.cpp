// The stories around the main text: note numbers at their references and
// before their notes, text boxes, and streams whose sector chain breaks.
#include "CompoundFileWriter.h"
#include "TestSupport.h"
#include "WordFileBuilder.h"
#include "extract/doc/DocToText.h"

#include <gtest/gtest.h>

namespace leafmill::extract {
namespace {

using test::putU16;
using test::putU32;
using test::WordFileSpec;

std::string plc(const std::vector<std::uint32_t>& cps, const std::vector<std::string>& entries = {})
{
    std::string out;
    for (std::uint32_t cp : cps)
        putU32(out, out.size(), cp);
    for (const std::string& entry : entries)
        out += entry;
    return out;
}

std::string u16(std::uint16_t value)
{
    std::string out;
    putU16(out, 0, value);
    return out;
}

// Main text with an auto footnote, a custom-marked one, an auto endnote and
// another auto footnote; then the notes and two text boxes, the second kept
// for reuse, and the story's closing box.
WordFileSpec notesAndBoxes()
{
    WordFileSpec spec;
    spec.pieces = {{u"One\u0002 two* three\u0002 four\u0002.\r", true},
                   {u"\u0002 one\r* two\r\u0002 three\r\r", false},
                   {u"\u0002 end\r\r", true},
                   {u"Box\r\rOld\r\rSecond box\r\r\r", true}};
    spec.ccpText = 24;
    spec.ccpFtn = 21;
    spec.ccpEdn = 7;
    spec.ccpTxbx = 23;
    const std::uint32_t end = 24 + 21 + 7 + 23;
    std::string reusable(22, '\0');
    reusable[8] = 1;
    spec.tableParts = {{2, plc({3, 8, 21, end}, {u16(1), u16(0), u16(2)})},
                       {3, plc({0, 6, 12, 20, 21})},
                       {46, plc({15, end}, {u16(1)})},
                       {47, plc({0, 6, 7})},
                       {56, plc({0, 5, 10, 22, 23}, {std::string(22, '\0'), reusable, std::string(22, '\0'),
                                                     std::string(22, '\0')})}};
    return spec;
}

// Document properties: footnote start and restart, endnote start and
// restart, the two number formats.
std::string dop(unsigned footStart, unsigned footRestart, unsigned endStart, unsigned footFormat, unsigned endFormat)
{
    std::string out(56, '\0');
    putU16(out, 2, std::uint16_t(footStart << 2 | footRestart));
    putU16(out, 52, std::uint16_t(endStart << 2));
    putU16(out, 54, std::uint16_t(footFormat << 2 | endFormat << 6));
    return out;
}

struct NumberingCase {
    const char* name;
    std::string dop;  // empty: none
    std::vector<std::uint32_t> sections;  // starts of sections, then the end
    const char* text;
};

class DocNoteNumbers : public ::testing::TestWithParam<NumberingCase> { };

TEST_P(DocNoteNumbers, AreWrittenAtTheReferenceAndBeforeTheNote)
{
    WordFileSpec spec = notesAndBoxes();
    if (!GetParam().dop.empty())
        spec.tableParts.push_back({31, GetParam().dop});
    if (!GetParam().sections.empty())
        spec.tableParts.push_back({6, plc(GetParam().sections, std::vector<std::string>(GetParam().sections.size() - 1,
                                                                                      std::string(12, '\0')))});
    std::size_t mainLength = 0;
    const Result result = doc::docToTextWithMainLength(test::buildWordFile(spec), Options {}, &mainLength);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, GetParam().text);
    EXPECT_EQ(result.text.find("Box"), mainLength) << "the text boxes follow the main text";
    EXPECT_TRUE(result.warnings.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Formats, DocNoteNumbers,
    ::testing::Values(
        NumberingCase {"WordsDefaults", "", {},
                       "One1 two* threei four2.\r\nBox\r\nSecond box\r\n1 one\r\n* two\r\n2 three\r\n\r\ni end\r\n\r\n"},
        NumberingCase {"LettersAndRomanFromTheirStarts", dop(3, 0, 4, 4, 1), {},
                       "Onec two* threeIV fourd.\r\nBox\r\nSecond box\r\nc one\r\n* two\r\nd three\r\n\r\nIV end\r\n\r\n"},
        NumberingCase {"SymbolsAndArabic", dop(1, 0, 1, 9, 0), {},
                       "One* two* three1 four\u2020.\r\nBox\r\nSecond box\r\n* one\r\n* two\r\n\u2020 three\r\n\r\n1 "
                       "end\r\n\r\n"},
        // A new section starts at "four": its footnotes count from 1 again.
        NumberingCase {"RestartEachSection", dop(1, 1, 1, 0, 2), {0, 20, 75},
                       "One1 two* threei four1.\r\nBox\r\nSecond box\r\n1 one\r\n* two\r\n1 three\r\n\r\ni end\r\n\r\n"}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(DocTextBoxes, WithoutTheirTableTheWholeStoryIsOneBox)
{
    WordFileSpec spec = notesAndBoxes();
    spec.tableParts.pop_back();
    const Result result = docToText(test::buildWordFile(spec), Options {});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_NE(result.text.find(".\r\nBox\r\n\r\nOld\r\n\r\nSecond box\r\n"), std::string::npos) << result.text;
}

TEST(DocFixtures, NotesAndTextBoxesOfALibreOfficeDocumentReadAsTheReferenceSays)
{
    for (const char* name : {"notes.doc", "boxes.doc"}) {
        const Result result = docToText(test::readFile(test::documentsDir() / name), Options {});
        ASSERT_TRUE(result.ok) << name << ": " << result.error;
        EXPECT_EQ(result.text, test::readFile(test::documentsDir() / "sources" / (std::string(name) + ".txt")));
    }
}

struct DamageCase {
    std::uint32_t sectorsKept;  // of the WordDocument stream, before its chain breaks
    std::uint32_t brokenLink;  // what the last kept sector points to
    const char* said;  // in the warning, or in the reason when refused
    std::size_t textKept;  // characters given; 0: refused
};

class DocDamagedStream : public ::testing::TestWithParam<DamageCase> { };

TEST_P(DocDamagedStream, GivesTheTextBeforeTheBreakOrRefuses)
{
    // A 1024-byte information block, then 4000 one-byte characters.
    WordFileSpec spec;
    std::u16string text;
    for (int i = 0; i < 4000; ++i)
        text += i % 50 == 49 ? u'\r' : char16_t(u'a' + i % 26);
    spec.pieces = {{text, true}};
    const test::WordStreams streams = test::buildWordStreams(spec);
    test::CompoundFileWriter writer;
    writer.add("WordDocument", streams.wordDocument);
    writer.add("1Table", streams.table);
    test::CompoundFileWriter::Layout layout;
    std::string file = writer.write(&layout);
    const std::uint32_t last = layout.streamStart[0] + GetParam().sectorsKept - 1;
    putU32(file, writer.sectorOffset(layout.firstFatSector) + 4 * last, GetParam().brokenLink);

    const Result result = docToText(file, Options {});
    const std::string& said = result.ok && !result.warnings.empty() ? result.warnings[0] : result.error;
    EXPECT_NE(said.find(GetParam().said), std::string::npos) << said;
    if (GetParam().textKept == 0) {
        EXPECT_FALSE(result.ok);
        return;
    }
    ASSERT_TRUE(result.ok) << result.error;
    std::string expected;
    for (char16_t c : text.substr(0, GetParam().textKept))
        expected += c == u'\r' ? "\r\n" : std::string(1, char(c));
    EXPECT_EQ(result.text, expected + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, DocDamagedStream,
    ::testing::Values(DamageCase {4, 90000, "the document is damaged; 2976 characters could not be read", 1024},
                      DamageCase {5, 0xFFFFFFFF, "the document is damaged; 2464 characters could not be read", 1536},
                      DamageCase {2, 90000, "the document is damaged and none of its text can be read", 0},
                      DamageCase {1, 90000, "breaks off inside the file information block", 0}));

}  // namespace
}  // namespace leafmill::extract
