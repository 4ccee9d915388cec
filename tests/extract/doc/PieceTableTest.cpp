// The piece table: compressed and UTF-16 pieces, pieces stored out of order
// as fast saves leave them, formatting entries ahead of the pieces, and
// damaged tables.
#include "extract/doc/PieceTable.h"
#include "CompoundFileWriter.h"
#include "WordFileBuilder.h"
#include "extract/doc/DocToText.h"

#include <gtest/gtest.h>

namespace leafmill::extract {
namespace {

using test::WordFileSpec;

Result convert(const WordFileSpec& spec)
{
    return docToText(test::buildWordFile(spec), Options {});
}

TEST(DocPieces, CompressedPiecesMapTheCp1252SpecialsAndUtf16PiecesKeepEveryCharacter)
{
    WordFileSpec spec;
    spec.pieces = {{u"\u201CQuoted\u201D \u20AC5 \u2013 na\u00EFve ", true},
                   {u"\u4E2D\u6587 \U0001F600 \u0416", false},
                   {u" end\r", true}};
    const Result result = convert(spec);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "\u201CQuoted\u201D \u20AC5 \u2013 na\u00EFve \u4E2D\u6587 \U0001F600 \u0416 end\r\n");
    EXPECT_TRUE(result.warnings.empty());
}

TEST(DocPieces, FastSavedPiecesStoredBackwardsAndWithoutFormattingEntriesReadInOrder)
{
    WordFileSpec spec;
    spec.pieces = {{u"one ", true}, {u"two ", false}, {u"three ", true}, {u"four\r", false}};
    spec.storeBackwards = true;
    spec.prcBeforePieces = false;
    const Result result = convert(spec);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "one two three four\r\n");
}

TEST(DocPieces, TheUnusedBytesOfCp1252KeepTheirValueAndOthersAreLatin1)
{
    EXPECT_EQ(doc::PieceTable::compressedToUnicode(0x80), u'\u20AC');
    EXPECT_EQ(doc::PieceTable::compressedToUnicode(0x9F), u'\u0178');
    EXPECT_EQ(doc::PieceTable::compressedToUnicode(0x81), u'\u0081');
    EXPECT_EQ(doc::PieceTable::compressedToUnicode(0xE9), u'\u00E9');
}

TEST(DocPieces, DamagedPieceTablesAreRefusedAndMissingTextIsReported)
{
    WordFileSpec spec;
    spec.pieces = {{u"first ", true}, {u"second\r", true}};

    test::WordStreams streams = test::buildWordStreams(spec);
    // Swap the first two character positions of the table: out of order.
    std::string disordered = streams.table;
    const std::size_t plc = 16 + 6 + 5;
    test::putU32(disordered, plc + 4, 100);
    auto rebuild = [](const std::string& wordDocument, const std::string& table) {
        test::CompoundFileWriter writer;
        writer.add("WordDocument", wordDocument);
        writer.add("1Table", table);
        return docToText(writer.write(), Options {});
    };
    Result result = rebuild(streams.wordDocument, disordered);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("out of order"), std::string::npos) << result.error;

    std::string noPieces = streams.table;
    noPieces[16 + 6] = 0x07;
    result = rebuild(streams.wordDocument, noPieces);
    EXPECT_EQ(result.error, "the piece table is missing or damaged");

    std::string tooLong = streams.table;
    test::putU32(tooLong, 16 + 6 + 1, 0x7FFFFFF0);
    result = rebuild(streams.wordDocument, tooLong);
    EXPECT_NE(result.error.find("lies outside its stream"), std::string::npos) << result.error;

    // The second piece points past the end of the WordDocument stream.
    std::string pastEnd = streams.table;
    test::putU32(pastEnd, plc + 12 + 8 + 2, 0x40000000 | (5000 * 2));
    result = rebuild(streams.wordDocument, pastEnd);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "first \r\n");
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("7 characters"), std::string::npos);
}

TEST(DocPieces, PiecesThatNameTheSameBytesOverAndOverAreStoppedAtTheStreamSize)
{
    WordFileSpec spec;
    spec.pieces = {{std::u16string(100, u'w'), true}};
    test::WordStreams streams = test::buildWordStreams(spec);
    // A thousand pieces of 100 characters, all stored at the same place.
    std::string plc;
    for (std::uint32_t i = 0; i <= 1000; ++i)
        test::putU32(plc, plc.size(), 100 * i);
    for (int i = 0; i < 1000; ++i) {
        std::string pcd(8, '\0');
        test::putU32(pcd, 2, 0x40000000 | (1024 * 2));
        plc += pcd;
    }
    std::string clx("\x02");
    test::putU32(clx, 1, static_cast<std::uint32_t>(plc.size()));
    clx += plc;
    test::putU32(streams.wordDocument, 154 + 8 * 33 + 4, static_cast<std::uint32_t>(clx.size()));
    test::putU32(streams.wordDocument, 32 + 2 + 28 + 2 + 4 * 3, 100000);
    test::CompoundFileWriter writer;
    writer.add("WordDocument", streams.wordDocument);
    writer.add("1Table", streams.table.substr(0, 16) + clx);
    const Result result = docToText(writer.write(), Options {});
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_LE(result.text.size(), streams.wordDocument.size() + 2);
    EXPECT_GE(result.text.size(), 1000u);
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("more text than the document holds"), std::string::npos);
}

}  // namespace
}  // namespace leafmill::extract
