#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace leafmill::extract::doc {

class PieceTable;
class WordDocument;

// The numbers Word shows for auto-numbered footnotes and endnotes. The text
// stores only a placeholder character (0x02) at the reference and at the
// start of the note; the number comes from counting the notes in the
// document's numbering format (the document properties: format, start,
// restart at each section). Footnotes and endnotes count separately. A
// custom mark is ordinary text in the document and needs nothing here.
class NoteMarks {
public:
    // No marks when the document has no notes or their tables cannot be read.
    static NoteMarks read(const WordDocument& document, const PieceTable& pieces);

    // The mark for the placeholder stored at this offset of the WordDocument
    // stream, or null when no auto-numbered note is there.
    const std::string* at(std::uint32_t streamOffset) const;

private:
    struct Numbering;
    void addStory(const WordDocument& document, const PieceTable& pieces, const Numbering& numbering,
                  std::uint32_t storyStart);

    std::vector<std::pair<std::uint32_t, std::string>> marks_;  // by stream offset
};

}  // namespace leafmill::extract::doc
