// The piece table: compressed and UTF-16 pieces, stored out of order, and damaged tables.
#include "extract/doc/PieceTable.h"
#include "CompoundFileWriter.h"
#include "WordFileBuilder.h"

#include <gtest/gtest.h>

namespace leafmill::extract {
namespace {

using test::put;
using test::WordFilePlan;

TEST(DocPieces, CompressedAndUtf16PiecesReadInCharacterOrderWhereverTheyAreStored)
{
    WordFilePlan plan;
    plan.pieces = {{u"\x93Quoted\x94 \x80\x35 \x96 na\xEFve ", true},
                   {u"\u4E2D\u6587 \U0001F600 \u0416", false},
                   {u" end\r", true}};
    plan.storeBackwards = true;
    plan.prcBeforePieces = false;
    const Result result = test::convertWordFile(plan);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "\u201CQuoted\u201D \u20AC5 \u2013 na\u00EFve \u4E2D\u6587 \U0001F600 \u0416 end\r\n");
    EXPECT_TRUE(result.warnings.empty());
    // The bytes cp1252 leaves open keep their value; above 0x9F it is Latin-1.
    EXPECT_EQ(doc::PieceTable::compressedToUnicode(0x9F), u'\u0178');
    EXPECT_EQ(doc::PieceTable::compressedToUnicode(0x81), u'\u0081');
    EXPECT_EQ(doc::PieceTable::compressedToUnicode(0xE9), u'\u00E9');
}

TEST(DocPieces, DamagedBlocksAndPieceTablesAreRefusedAndMissingTextIsReported)
{
    WordFilePlan plan;
    plan.pieces = {{u"first ", true}, {u"second\r", true}};
    const test::WordStreams streams = test::buildWordStreams(plan);
    // In the file information block: its head, then the counts of its arrays.
    // In the table stream: 16 bytes, a 6-byte formatting entry, the type and
    // size of the piece table at 22, its positions at 27, its descriptors at 39.
    const struct {
        bool inTable;
        std::size_t at;
        std::uint32_t value;
        const char* said;
    } damages[] = {
        {false, 0x0A, 0x0300, "the document is password-protected"},
        {false, 0, 0x1234, "does not start with a Word file information block"},
        {false, 2, 0x6A, "(format 106)"},
        {false, 2, 0x60, "(format 96)"},
        {false, 62, 5, "too short for Word 97"},
        {false, 152, 33, "too short for Word 97"},
        {true, 27 + 4, 100, "the piece table is out of order at piece 1"},
        {true, 22, 0x07, "the piece table is missing or damaged"},
        {true, 23, 0x7FFFFFF0, "lies outside its stream"},
        {true, 23, 4, "the piece table has a size of 4 bytes, which holds no pieces"},
    };
    for (const auto& damage : damages) {
        test::WordStreams damaged = streams;
        put(damage.inTable ? damaged.table : damaged.wordDocument, damage.at, damage.value, damage.inTable ? 4 : 2);
        const Result result = test::convertStreams(damaged);
        EXPECT_FALSE(result.ok);
        EXPECT_NE(result.error.find(damage.said), std::string::npos) << result.error;
    }

    // The second piece stored past the end of the WordDocument stream.
    test::WordStreams pastEnd = streams;
    put(pastEnd.table, 39 + 8 + 2, 0x40000000 | (5000 * 2), 4);
    const Result result = test::convertStreams(pastEnd);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "first \r\n");
    EXPECT_EQ(result.warnings,
              std::vector<std::string> {"7 characters lie outside the document's text and were left out"});
}

TEST(DocPieces, PiecesThatNameTheSameBytesOverAndOverAreStoppedAtTheStreamSize)
{
    WordFilePlan plan;
    plan.pieces = {{std::u16string(100, u'w'), true}};
    test::WordStreams streams = test::buildWordStreams(plan);
    // A thousand pieces of 100 characters, all stored at the same place.
    test::Bytes plc;
    for (std::uint32_t i = 0; i <= 1000; ++i)
        plc.n(100 * i, 4);
    for (int i = 0; i < 1000; ++i)
        plc.n(0, 2).n(0x40000000 | (1024 * 2), 4).n(0, 2);
    const std::string clx = test::Bytes {}.n(2, 1).n(plc.s.size(), 4).s + plc.s;
    streams.table = streams.table.substr(0, 16) + clx;
    put(streams.wordDocument, 154 + 8 * 33 + 4, static_cast<std::uint32_t>(clx.size()), 4);
    put(streams.wordDocument, 64 + 4 * 3, 100000, 4);  // ccpText
    const Result result = test::convertStreams(streams);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_LE(result.text.size(), streams.wordDocument.size() + 2);
    EXPECT_GE(result.text.size(), 1000u);
    EXPECT_EQ(result.warnings,
              std::vector<std::string> {"the piece table names more text than the document holds; "
                                        "the rest was left out"});
}

}  // namespace
}  // namespace leafmill::extract
