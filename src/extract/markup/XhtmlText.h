#pragma once

#include <pugixml.hpp>

#include <map>
#include <string>
#include <vector>

namespace leafmill::extract::package {
class TextBuilder;
}

namespace leafmill::extract::epub {

struct TocEntry;

// Writes one XHTML document of a book into the text: blocks (paragraphs,
// headings, list items, table rows) one to a line, table cells parted by
// TAB, list items with their labels, the text drawn in SVG pictures a line
// each, MathML formulas as their alternative text or their characters, of an
// epub:switch only the branch this reader reads. Scripts, styles, other
// pictures (and their alternative text) and ruby annotations show nothing; note references in the
// text are dropped and footnote asides follow the document's own text, each
// with its label. Chapters of the table of contents start where their target
// element's text does.
class XhtmlText {
public:
    // `chapters` maps the document's element ids ("" for the document's
    // start) to the table-of-contents entries that point there.
    XhtmlText(package::TextBuilder& out, std::map<std::string, std::vector<const TocEntry*>> chapters);

    void write(pugi::xml_node root);

private:
    void node(pugi::xml_node n);
    void element(pugi::xml_node e);
    void children(pugi::xml_node e);
    void list(pugi::xml_node list, bool ordered);
    void drawing(pugi::xml_node group);
    void formula(pugi::xml_node math);
    static std::string formulaCharacters(pugi::xml_node node);
    void alternatives(pugi::xml_node choices);
    void startChapters(std::string_view id);

    package::TextBuilder& out_;
    std::map<std::string, std::vector<const TocEntry*>> chapters_;
    std::vector<pugi::xml_node> asides_;
    int preformatted_ = 0;
    int cells_ = 0;
};

}  // namespace leafmill::extract::epub
