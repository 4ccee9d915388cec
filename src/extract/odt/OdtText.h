#pragma once

#include "extract/odt/OdtLists.h"
#include "extract/package/TableLayout.h"

#include <pugixml.hpp>

#include <map>
#include <string>
#include <vector>

namespace leafmill::extract::odt {

// Writes an OpenDocument text's body into the text: paragraphs and headings
// one to a line, headings with their outline numbers as chapters, list items
// with their labels, table rows one to a line with cells parted by TAB,
// frames and shapes after the paragraph that holds them, and the footnotes
// and then the endnotes after the whole text, each with its mark. Tracked
// deletions, comments, hidden text and pictures show nothing.
class OdtText {
public:
    OdtText(package::TextBuilder& out, const ListStyles& styles);

    // One child of office:text after another, then the notes.
    void writeBlock(pugi::xml_node block);
    void writeNotes();

private:
    struct Note {
        std::string mark;
        pugi::xml_node body;
    };

    void node(pugi::xml_node n);
    void children(pugi::xml_node n);
    void paragraph(pugi::xml_node p, bool heading);
    void list(pugi::xml_node l);
    void items(pugi::xml_node l, const LevelStyles* styles, ListCount& count, int level);
    void table(pugi::xml_node tableOrGroup);
    void row(pugi::xml_node r);
    void note(pugi::xml_node n);
    void writeNotes(const std::vector<Note>& notes);

    package::TextBuilder& out_;
    const ListStyles& styles_;
    package::TableLayout layout_;
    pugi::xml_document noteBodies_;  // the notes' bodies, kept past the blocks that hold them
    std::vector<Note> footnotes_, endnotes_;
    std::vector<pugi::xml_node>* frames_ = nullptr;  // of the paragraph being written
    long spacesLeft_;  // of the document's runs of spaces
    ListCount headings_;
    std::map<std::string, ListCount, std::less<>> lastListOfStyle_, listById_;
    ListCount* count_ = nullptr;  // of the outermost list being written
    int listDepth_ = 0;
    std::string listStyle_;  // of the innermost list being written
};

}  // namespace leafmill::extract::odt
