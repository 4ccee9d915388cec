#pragma once

#include "extract/Extractor.h"
#include "extract/common/ListNumbers.h"
#include "extract/package/TableLayout.h"

#include <pugixml.hpp>

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::docx {

class WordNumbering;
class WordStyles;

// The text of a document embedded whole (altChunk), by its relationship id,
// read by the reader of its kind; nothing when it is left out.
using ChunkReader = std::function<std::optional<Result>(std::string_view id)>;

// How the notes of one kind are numbered.
struct NoteNumbers {
    NumberStyle style = NumberStyle::Decimal;
    long start = 1;
};

// The notes of footnotes.xml and endnotes.xml by id.
struct WordNotes {
    std::map<std::string, pugi::xml_node, std::less<>> footnotes, endnotes;
    NoteNumbers footnoteNumbers;
    NoteNumbers endnoteNumbers {NumberStyle::LowerRoman, 1};
};

// Writes a Word document's body into the text: paragraphs one to a line
// with their list labels (a drop cap joined to its paragraph), headings as chapters, table rows one to a line
// with cells parted by TAB, the results of fields (never their
// instructions), text boxes after the paragraph that holds them, documents
// embedded whole at their place, note references as the marks Word shows
// (their numbers, or the author's own marks), and the footnotes and then the
// endnotes after the whole text, each with its mark.
// Deleted and hidden text, pictures and ruby guides show nothing.
class WordText {
public:
    WordText(package::TextBuilder& out, const WordStyles& styles, WordNumbering& numbering, const WordNotes& notes,
             ChunkReader chunks = {});

    // One child of the body after another, then the notes.
    void writeBlock(pugi::xml_node block);
    void writeNotes();

    // Symbols of picture fonts that no character stands for, left out.
    std::size_t unmappedSymbols() const { return unmappedSymbols_; }

private:
    struct NoteReference {
        bool endnote = false;
        std::string id;
        std::string mark;  // the number Word counts, or the author's own ("*") that follows the reference
        bool custom = false;
    };

    void node(pugi::xml_node n);
    void children(pugi::xml_node n);
    void paragraph(pugi::xml_node p);
    void table(pugi::xml_node tableOrWrapper);
    void row(pugi::xml_node rowOrWrapper, bool& firstCell);
    void run(pugi::xml_node r);
    void text(pugi::xml_node t);
    void symbol(pugi::xml_node sym);
    void fieldCharacter(pugi::xml_node fldChar);
    void noteReference(pugi::xml_node reference);
    std::string countedMark(bool endnote, const std::string& id);
    void collectTextBoxes(pugi::xml_node drawing);
    void embedded(pugi::xml_node altChunk);
    void writeNotesOfKind(bool endnotes);

    package::TextBuilder& out_;
    const WordStyles& styles_;
    WordNumbering& numbering_;
    const WordNotes& notes_;
    ChunkReader chunks_;
    package::TableLayout layout_;
    std::vector<NoteReference> references_;
    std::map<std::pair<bool, std::string>, std::string> countedMarks_;  // (endnote, id) -> its number
    long nextFootnote_, nextEndnote_;
    std::vector<pugi::xml_node>* textBoxes_ = nullptr;  // of the paragraph being written
    std::vector<bool> fields_;  // open fields, each: its result has begun
    std::size_t fieldsInInstructions_ = 0;
    std::size_t unmappedSymbols_ = 0;
    bool noteStart_ = false;  // a note's mark was written, its text not yet
    bool customMarkNext_ = false;
    bool afterDropCap_ = false;  // the paragraph before was a drop cap: the next one goes on from it
};

}  // namespace leafmill::extract::docx
