#pragma once

#include "extract/package/ListNumbers.h"
#include "extract/package/TableLayout.h"

#include <pugixml.hpp>

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace leafmill::extract::docx {

class WordNumbering;
class WordStyles;

// How the notes of one kind are numbered.
struct NoteNumbers {
    package::NumberStyle style = package::NumberStyle::Decimal;
    long start = 1;
};

// The notes of footnotes.xml and endnotes.xml by id.
struct WordNotes {
    std::map<std::string, pugi::xml_node, std::less<>> footnotes, endnotes;
    NoteNumbers footnoteNumbers;
    NoteNumbers endnoteNumbers {package::NumberStyle::LowerRoman, 1};
};

// Writes a Word document's body into the text: paragraphs one to a line
// with their list labels, headings as chapters, table rows one to a line
// with cells parted by TAB, the results of fields (never their
// instructions), text boxes after the paragraph that holds them, and the
// footnotes and then the endnotes after the whole text, each with its mark.
// Deleted and hidden text, pictures and ruby guides show nothing.
class WordText {
public:
    WordText(package::TextBuilder& out, const WordStyles& styles, WordNumbering& numbering, const WordNotes& notes);

    void writeBody(pugi::xml_node body, const std::function<void(std::size_t, std::size_t)>& progress);

    // Symbols of picture fonts that no character stands for, left out.
    std::size_t unmappedSymbols() const { return unmappedSymbols_; }

private:
    struct NoteReference {
        bool endnote = false;
        std::string id;
        std::string mark;  // a mark of the author's own ("*"), else empty
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
    void collectTextBoxes(pugi::xml_node drawing);
    void writeNotes(bool endnotes);

    package::TextBuilder& out_;
    const WordStyles& styles_;
    WordNumbering& numbering_;
    const WordNotes& notes_;
    package::TableLayout layout_;
    std::vector<NoteReference> references_;
    std::vector<pugi::xml_node>* textBoxes_ = nullptr;  // of the paragraph being written
    std::vector<bool> fields_;  // open fields, each: its result has begun
    std::size_t fieldsInInstructions_ = 0;
    std::size_t unmappedSymbols_ = 0;
    bool noteStart_ = false;  // a note's mark was written, its text not yet
    bool customMarkNext_ = false;
};

}  // namespace leafmill::extract::docx
