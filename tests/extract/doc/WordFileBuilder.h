#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace leafmill::test {

// Builds small Word 97-2003 files for the reader's tests: a file information
// block, the text in pieces (one byte or two per character), a piece table in
// the table stream and, when asked, paragraph formatting that marks row ends.
struct WordFileSpec {
    struct Piece {
        std::u16string text;
        bool compressed = false;  // stored one cp1252 byte per character
    };
    std::vector<Piece> pieces;  // in reading order

    // Story lengths; ccpText < 0 means all the text is main text.
    long ccpText = -1;
    std::uint32_t ccpFtn = 0, ccpHdd = 0, ccpAtn = 0, ccpEdn = 0, ccpTxbx = 0;
    // Structures put into the table stream, by the index of their pair in
    // the file information block (2: footnote references, 31: document
    // properties...).
    std::vector<std::pair<std::size_t, std::string>> tableParts;

    std::uint16_t nFib = 0xC1;
    bool encrypted = false;
    bool storeBackwards = false;  // pieces stored in reverse order, as fast saves do
    bool prcBeforePieces = true;  // a formatting entry ahead of the piece table
    bool writeTableStream = true;
    bool lowerCaseNames = false;
    // Formatting of the characters [cpStart, cpEnd): a paragraph style and
    // property modifiers. Formatting pages are written only for a kind that
    // has runs; the text between runs gets the default formatting.
    struct Run {
        std::uint32_t cpStart = 0, cpEnd = 0;
        std::string grpprl;
        std::uint16_t istd = 0;  // paragraph runs only
    };
    std::vector<Run> paragraphRuns, characterRuns;  // in text order

    // Word 6 and Word 95: the fields at their fixed offsets and every table in
    // the WordDocument stream; each character's low byte is stored. Without
    // `complex` the text is one run and there is no piece table.
    bool word6 = false;
    std::uint16_t lid = 0x409;
    bool macCharacterSet = false;
    bool complex = false;
};

std::string buildWordFile(const WordFileSpec& spec);

// The WordDocument and table streams alone, for tests that damage them.
struct WordStreams {
    std::string wordDocument;
    std::string table;
};
WordStreams buildWordStreams(const WordFileSpec& spec);

}  // namespace leafmill::test
