// Word 6 and 95: text in the code page of its language, pieces, stories, and damaged files.
#include "CompoundFileWriter.h"
#include "WordFileBuilder.h"
#include "extract/doc/DocToText.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace leafmill::extract {
namespace {

using test::WordFilePlan;

// One compressed piece per string, its bytes as stored.
WordFilePlan word6(std::vector<std::string_view> pieces, std::uint16_t lid = 0x409, bool complex = false)
{
    WordFilePlan plan;
    plan.word6 = true;
    plan.lid = lid;
    plan.complex = complex;
    for (std::string_view piece : pieces) {
        std::u16string units;
        for (unsigned char byte : piece)
            units += byte;
        plan.pieces.push_back({units, true});
    }
    return plan;
}

TEST(Word6Pieces, FastSavedPiecesReadInCharacterOrderWhereverTheyAreStored)
{
    // Each piece's bytes are read in the one code page.
    WordFilePlan plan = word6({"\xCF\xE5\xF0\xE2\xFB\xE9 ", "second ", "\xF2\xF0\xE5\xF2\xE8\xE9\r"}, 0x419, true);
    plan.storeBackwards = true;
    for (bool prc : {true, false}) {
        plan.prcBeforePieces = prc;
        const Result result = test::convertWordFile(plan);
        ASSERT_TRUE(result.ok) << result.error;
        EXPECT_EQ(result.text, "Первый second третий\r\n");
    }
}

TEST(Word6Pieces, DoubleByteCharactersReadWholeWhereverTheyFall)
{
    // Shift_JIS: a long run puts one character astride the stretches the
    // stream is read in, another ends a piece.
    const std::string longRun = std::string(65535, 'a')
        + "\x82\xA0"
          "b\r";
    const WordFilePlan plan = word6({longRun, "\x82\xA2\r"}, 0x411, true);
    const std::string expected = std::string(65535, 'a')
        + "\u3042"
          "b\r\n\u3044\r\n";
    EXPECT_EQ(test::convertWordFile(plan).text, expected);

    // Two sectors of the text swapped, and the chain with them: a stretch
    // then comes from two places in the file.
    test::CompoundFileWriter writer;
    writer.add("WordDocument", test::buildWordStreams(plan).wordDocument);
    test::CompoundFileWriter::Layout layout;
    std::string file = writer.write(&layout);
    const std::uint32_t start = layout.streamStart[0];
    const auto link = [&](std::uint32_t from, std::uint32_t to) {
        test::put(file, writer.sectorOffset(layout.firstFatSector) + 4 * (start + from), start + to, 4);
    };
    link(9, 11);
    link(11, 10);
    link(10, 12);
    std::swap_ranges(file.begin() + writer.sectorOffset(start + 10), file.begin() + writer.sectorOffset(start + 11),
                     file.begin() + writer.sectorOffset(start + 11));
    const Result swapped = docToText(file, Options {});
    ASSERT_TRUE(swapped.ok) << swapped.error;
    EXPECT_EQ(swapped.text, expected);
}

TEST(Word6Stories, NotesFollowTheMainTextWhileHeadersAndCommentsStayOut)
{
    WordFilePlan plan
        = word6({"Main\x02 text\r", "\x02 Foot\r\r", "Header\r\r", "Comment\r", "\x02 End\r\r"}, 0x409, true);
    plan.ccpText = 11;
    plan.ccpFtn = plan.ccpHdd = plan.ccpAtn = 8;
    plan.ccpEdn = 7;
    std::size_t mainLength = 0;
    const Result result = test::convertWordFile(plan, &mainLength);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.text, "Main text\r\n Foot\r\n\r\n End\r\n\r\n");
    EXPECT_EQ(mainLength, 11u);
}

TEST(Word6Damaged, BrokenTablesAreRefusedAndMissingTextIsReported)
{
    // Fast-saved, but the piece table is gone.
    test::WordStreams streams = test::buildWordStreams(word6({"text\r"}, 0x409, true));
    test::put(streams.wordDocument, 0x58 + 8 * 33 + 4, 0, 4);
    EXPECT_EQ(test::convertStreams(streams).error, "the fast-saved document has no piece table");

    streams = test::buildWordStreams(word6({"text\r"}));
    test::put(streams.wordDocument, 0x1C, 0x100, 4);
    EXPECT_EQ(test::convertStreams(streams).error, "the document's text ends before it begins");

    // The text runs past the end of the stream: what is there is kept.
    streams = test::buildWordStreams(word6({"kept\r"}));
    test::put(streams.wordDocument, 0x1C, 0x300 + 5 + 20, 4);
    test::put(streams.wordDocument, 0x34, 25, 4);
    const Result cut = test::convertStreams(streams);
    ASSERT_TRUE(cut.ok) << cut.error;
    EXPECT_EQ(cut.text, "kept\r\n");
    EXPECT_EQ(cut.warnings,
              std::vector<std::string> {"20 characters lie outside the document's text and were left out"});

    // A block cut off before its story lengths.
    streams.wordDocument.resize(0x30);
    EXPECT_NE(test::convertStreams(streams).error.find("cut short"), std::string::npos);
}

}  // namespace
}  // namespace leafmill::extract
