#pragma once

#include "extract/Extractor.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace leafmill::test {

// Small Word 97-2003 files, or Word 6 ones, for the reader's tests.
struct WordFilePlan {
    struct Piece {
        std::u16string text;
        bool compressed = false;  // one byte per character: each one's low byte
    };
    std::vector<Piece> pieces;  // in reading order
    bool storeBackwards = false;  // as fast saves leave them
    bool prcBeforePieces = true;  // a formatting entry ahead of the piece table

    long ccpText = -1;  // < 0: all the text is main text
    std::uint32_t ccpFtn = 0, ccpHdd = 0, ccpAtn = 0, ccpEdn = 0, ccpTxbx = 0;
    // Table-stream structures by the index of their fc/lcb pair (2: footnote references...).
    std::vector<std::pair<std::size_t, std::string>> tableParts;

    // Formatting of [cpStart, cpEnd) of the first piece; none between runs.
    struct Run {
        std::uint32_t cpStart = 0, cpEnd = 0;
        std::string grpprl;
        std::uint16_t istd = 0;  // paragraph runs only
    };
    std::vector<Run> paragraphRuns, characterRuns;  // in text order

    // Word 6 and 95: fixed offsets, no table stream; without `complex` no piece table either.
    bool word6 = false;
    std::uint16_t lid = 0x409;
    bool macCharacterSet = false;
    bool complex = false;
};

struct WordStreams {
    std::string wordDocument, table;  // no table stream for Word 6
};
WordStreams buildWordStreams(const WordFilePlan& plan);
std::string wordFile(const WordStreams& streams);

// The reader's result, with the length of its main text.
extract::Result convertStreams(const WordStreams& streams, std::size_t* mainLength = nullptr);
extract::Result convertWordFile(const WordFilePlan& plan, std::size_t* mainLength = nullptr);

}  // namespace leafmill::test
