#pragma once

#include "extract/Extractor.h"
#include "extract/doc/PieceTable.h"
#include "extract/doc/RowEndMarks.h"
#include "extract/doc/TextAssembler.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace leafmill::extract::doc {

class WordDocument;

// Reads a document's stories in order (main text, footnotes, endnotes) and
// turns their characters into text, adding to `warnings` what it had to
// leave out or guess.
class StoryReader {
public:
    StoryReader(const WordDocument& document, const Options& options, std::vector<std::string>& warnings);

    std::string run();

    // Bytes of the main text at the start of the result.
    std::size_t mainTextLength() const { return mainTextLength_; }

private:
    // Character positions [start, end) of one story.
    struct Story {
        std::uint64_t start;
        std::uint64_t end;
    };

    PieceTable readPieces();
    void read(const Story& story);
    bool endsRow(std::uint32_t offset, char16_t previous);
    void reportProgress();

    const WordDocument& document_;
    const Options& options_;
    std::vector<std::string>& warnings_;
    std::optional<EightBitText> eightBit_;  // Word 6 and Word 95
    PieceTable pieces_;
    std::optional<RowEndMarks> rowEnds_;
    TextAssembler assembler_;
    std::uint64_t missing_ = 0;
    std::uint64_t done_ = 0;
    std::uint64_t total_ = 1;
    std::size_t mainTextLength_ = 0;
    bool guessedRowEnds_ = false;
    bool overlong_ = false;
};

}  // namespace leafmill::extract::doc
