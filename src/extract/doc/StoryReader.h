#pragma once

#include "extract/Extractor.h"
#include "extract/doc/DocumentFormatting.h"
#include "extract/doc/NoteMarks.h"
#include "extract/doc/PieceTable.h"
#include "extract/doc/TextAssembler.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace leafmill::extract::doc {

class WordDocument;

// Reads a document's stories in order (main text, text boxes, footnotes,
// endnotes) and turns their characters into `result`'s text, handing it on
// as paragraphs end, with the main text's headings of outline levels 1 to 3
// as chapters, and adds to its warnings what it had to leave out or guess.
class StoryReader {
public:
    StoryReader(const WordDocument& document, const Options& options, Result& result);

    void run();

    // Bytes of the main text at the start of the whole text.
    std::size_t mainTextLength() const { return mainTextLength_; }

private:
    // Character positions [start, end) of one story.
    struct Story {
        std::uint64_t start;
        std::uint64_t end;
    };

    PieceTable readPieces();
    void read(const Story& story, bool main);
    void put(char16_t unit, std::uint32_t offset, char16_t previous, bool main);
    void endParagraph(std::uint32_t offset, bool main);
    void startParagraph();
    bool endsRow(std::uint32_t offset, char16_t previous);
    void reportProgress();
    void reportLosses();

    const WordDocument& document_;
    const Options& options_;
    Result& result_;
    std::vector<std::string>& warnings_;
    std::optional<EightBitText> eightBit_;  // Word 6 and Word 95
    PieceTable pieces_;
    DocumentFormatting formatting_;
    NoteMarks noteMarks_;
    TextAssembler assembler_;
    std::size_t paragraphStart_ = 0;  // in the text not yet handed on
    std::uint64_t missing_ = 0;
    std::uint64_t done_ = 0;
    std::uint64_t total_ = 1;
    std::size_t mainTextLength_ = 0;
    bool guessedRowEnds_ = false;
    bool overlong_ = false;
};

}  // namespace leafmill::extract::doc
