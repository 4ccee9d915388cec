// Word 6 and Word 95 documents: 8-bit text in the code page of the language
// the file names, one run or fast-saved pieces, the stories, and damaged or
// unreadable files.
#include "CompoundFileWriter.h"
#include "TestSupport.h"
#include "WordFileBuilder.h"
#include "extract/doc/DocToText.h"

#include <gtest/gtest.h>

namespace leafmill::extract {
namespace {

using test::WordFileSpec;

std::u16string stored(std::string_view bytes)
{
    std::u16string units;
    for (char byte : bytes)
        units.push_back(static_cast<unsigned char>(byte));
    return units;
}

WordFileSpec word6(std::string_view bytes, std::uint16_t lid = 0x409)
{
    WordFileSpec spec;
    spec.word6 = true;
    spec.nFib = 0x68;
    spec.lid = lid;
    spec.pieces = {{stored(bytes), true}};
    return spec;
}

Result convert(const WordFileSpec& spec)
{
    return docToText(test::buildWordFile(spec), Options {});
}

Result convertStream(const std::string& wordDocument)
{
    test::CompoundFileWriter writer;
    writer.add("WordDocument", wordDocument);
    return docToText(writer.write(), Options {});
}

struct CodePageCase {
    const char* language;
    std::uint16_t lid;
    bool mac;
    const char* bytes;
    const char* text;
};

class Word6CodePages : public ::testing::TestWithParam<CodePageCase> { };

TEST_P(Word6CodePages, TextIsReadInTheCodePageOfTheDocumentsLanguage)
{
    const CodePageCase& c = GetParam();
    WordFileSpec spec = word6(c.bytes, c.lid);
    spec.macCharacterSet = c.mac;
    const Result result = convert(spec);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, std::string(c.text) + "\r\n");
    EXPECT_TRUE(result.warnings.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Languages, Word6CodePages,
    ::testing::Values(
        CodePageCase {"English", 0x409, false, "\x93" "Caf\xE9\x94 \x80 5\x96" "6\r", "\u201CCaf\u00E9\u201D \u20AC 5\u20136"},
        CodePageCase {"Russian", 0x419, false, "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0\r", "Привет, мир"},
        CodePageCase {"SerbianCyrillic", 0xC1A, false, "\xCF\xF0\xE8\xE2\xE5\xF2\r", "Привет"},
        CodePageCase {"Greek", 0x408, false, "\xC1\xE8\xDE\xED\xE1\r", "Αθήνα"},
        CodePageCase {"Czech", 0x405, false, "P\xF8\xEDli\x9A \x9Elu\x9Dou\xE8k\xFD\r", "Příliš žluťoučký"},
        CodePageCase {"Turkish", 0x41F, false, "I\xFE\xFDk\r", "Işık"},
        CodePageCase {"Hebrew", 0x40D, false, "\xF9\xEC\xE5\xED\r", "שלום"},
        CodePageCase {"Lithuanian", 0x427, false, "\xC0\xFEuolas\r", "Ąžuolas"},
        CodePageCase {"Japanese", 0x411, false, "\x93\xFA\x96{\x8C\xEA\x82\xC6\x83J\x83i\r", "日本語とカナ"},
        CodePageCase {"ChineseSimplified", 0x804, false, "\xD6\xD0\xCE\xC4 ok\r", "中文 ok"},
        CodePageCase {"MacWestern", 0x409, true, "Caf\x8E\r", "Café"}),
    [](const ::testing::TestParamInfo<CodePageCase>& param) { return std::string(param.param.language); });

// Word 95 files of our own writer (make-word95.py): the text comes out as
// the source it was made from, line for line.
TEST(Word6Documents, Word95FilesGiveBackTheTextTheyWereMadeFrom)
{
    for (const char* name : {"word95-western", "word95-cyrillic", "word95-greek"}) {
        const Result result = docToText(test::readFile(test::documentsDir() / (std::string(name) + ".doc")), Options {});
        ASSERT_TRUE(result.ok) << name << ": " << result.error;
        std::string expected;
        for (char c : test::readFile(test::documentsDir() / "sources" / (std::string(name) + ".txt")))
            expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
        EXPECT_EQ(result.text, expected) << name;
        EXPECT_TRUE(result.warnings.empty()) << name;
    }
}

TEST(Word6Pieces, FastSavedPiecesReadInCharacterOrderWhereverTheyAreStored)
{
    WordFileSpec spec = word6("");
    spec.complex = true;
    spec.storeBackwards = true;
    spec.lid = 0x419;
    // The double-byte characters of a Japanese file may not straddle pieces,
    // but the Cyrillic bytes of each piece are read in the one code page.
    spec.pieces = {{stored("\xCF\xE5\xF0\xE2\xFB\xE9 "), true}, {stored("second "), true}, {stored("\xF2\xF0\xE5\xF2\xE8\xE9\r"), true}};
    Result result = convert(spec);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "Первый second третий\r\n");

    spec.prcBeforePieces = false;
    result = convert(spec);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "Первый second третий\r\n");
}

TEST(Word6Stories, NotesFollowTheMainTextWhileHeadersAndCommentsStayOut)
{
    WordFileSpec spec = word6("");
    spec.complex = true;
    spec.pieces = {{stored("Main\x02 text\r"), true},
                   {stored("\x02 Foot\r\r"), true},
                   {stored("Header\r\r"), true},
                   {stored("Comment\r"), true},
                   {stored("\x02 End\r\r"), true}};
    spec.ccpText = 11;
    spec.ccpFtn = 8;
    spec.ccpHdd = 8;
    spec.ccpAtn = 8;
    spec.ccpEdn = 7;
    std::size_t mainLength = 0;
    const Result result = doc::docToTextWithMainLength(test::buildWordFile(spec), Options {}, &mainLength);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "Main text\r\n Foot\r\n\r\n End\r\n\r\n");
    EXPECT_EQ(result.text.substr(0, mainLength), "Main text\r\n");
}

TEST(Word6Damaged, BrokenTablesAreRefusedAndMissingTextIsReported)
{
    // Fast-saved, but the piece table is gone.
    WordFileSpec noPieces = word6("text\r");
    noPieces.complex = true;
    test::WordStreams streams = test::buildWordStreams(noPieces);
    test::putU32(streams.wordDocument, 0x58 + 8 * 33 + 4, 0);
    EXPECT_NE(convertStream(streams.wordDocument).error.find("no piece table"),
              std::string::npos);

    // The text ends before it begins.
    streams = test::buildWordStreams(word6("text\r"));
    test::putU32(streams.wordDocument, 0x1C, 0x100);
    EXPECT_NE(convertStream(streams.wordDocument).error.find("ends before it begins"),
              std::string::npos);

    // The text runs past the end of the stream: what is there is kept.
    streams = test::buildWordStreams(word6("kept\r"));
    test::putU32(streams.wordDocument, 0x1C, 0x300 + 5 + 20);
    test::putU32(streams.wordDocument, 0x34, 25);
    const Result cut = convertStream(streams.wordDocument);
    ASSERT_TRUE(cut.ok) << cut.error;
    EXPECT_EQ(cut.text, "kept\r\n");
    ASSERT_EQ(cut.warnings.size(), 1u);
    EXPECT_NE(cut.warnings[0].find("20 characters"), std::string::npos) << cut.warnings[0];

    // A Word 6 file information block cut off before its story lengths.
    EXPECT_NE(convertStream(streams.wordDocument.substr(0, 0x30)).error.find("cut short"),
              std::string::npos);
}

TEST(Word6Refusals, PasswordsAndOtherFormatsAreRefusedWithTheirReason)
{
    WordFileSpec encrypted = word6("secret\r");
    encrypted.encrypted = true;
    EXPECT_EQ(convert(encrypted).error, "the document is password-protected");

    WordFileSpec between = word6("text\r");
    between.nFib = 0x6A;
    EXPECT_NE(convert(between).error.find("(format 106)"), std::string::npos);

    const Result word2 = docToText(std::string("\xDB\xA5\x2D\x00", 4), Options {});
    EXPECT_FALSE(word2.ok);
    EXPECT_NE(word2.error.find("Word 2 document"), std::string::npos) << word2.error;
}

}  // namespace
}  // namespace leafmill::extract
