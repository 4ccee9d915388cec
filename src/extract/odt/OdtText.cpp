#include "extract/odt/OdtText.h"

#include "extract/package/TextBuilder.h"
#include "extract/package/XmlDocument.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace leafmill::extract::odt {

using package::attributeValue;
using package::childNamed;
using package::isOneOf;
using package::localName;

namespace {

// Declarations, tracked changes (which hold the deleted text), comments,
// hidden text, pictures and embedded objects, and the sources of indexes
// (their bodies are shown): nothing of them is shown.
constexpr std::string_view kHidden[] = {
    "sequence-decls",
    "variable-decls",
    "user-field-decls",
    "tracked-changes",
    "annotation",
    "hidden-text",
    "hidden-paragraph",
    "image",
    "object",
    "object-ole",
    "forms",
    "table-of-content-source",
    "alphabetical-index-source",
    "illustration-index-source",
    "table-index-source",
    "object-index-source",
    "user-index-source",
    "bibliography-source",
    "table-columns",
    "table-column",
    "table-header-columns",
    "note-citation",
    "soft-page-break",
};

// Elements of drawings whose text is set after the paragraph that anchors them.
constexpr std::string_view kDrawn[] = {
    "frame", "custom-shape", "rect", "ellipse", "circle", "polygon", "path", "g", "caption", "regular-polygon",
};

constexpr long kMaxSpaces = 1024;
// Runs of spaces lay out lines; past this many in one document (a few
// kilobytes of markup asking for a gigabyte of blanks) each run is one blank.
constexpr long kDocumentSpaces = 1 << 20;

long number(std::string_view text, long otherwise)
{
    return text.empty() ? otherwise : std::atol(std::string(text).c_str());
}

}  // namespace

OdtText::OdtText(package::TextBuilder& out, const ListStyles& styles)
    : out_(out)
    , styles_(styles)
    , layout_(out)
    , spacesLeft_(kDocumentSpaces)
{
}

void OdtText::writeBlock(pugi::xml_node block)
{
    node(block);
}

void OdtText::writeNotes()
{
    writeNotes(footnotes_);
    writeNotes(endnotes_);
    out_.endParagraph();
}

void OdtText::children(pugi::xml_node n)
{
    for (pugi::xml_node child : n.children())
        node(child);
}

void OdtText::node(pugi::xml_node n)
{
    if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata) {
        out_.append(n.value());
        return;
    }
    if (n.type() != pugi::node_element)
        return;
    const std::string_view name = localName(n);
    // A drawing's title and description are its alternative text.
    if (isOneOf(name, kHidden) || std::string_view(n.name()) == "svg:title" || std::string_view(n.name()) == "svg:desc")
        return;
    if (name == "p" || name == "h")
        paragraph(n, name == "h");
    else if (name == "list")
        list(n);
    else if (name == "table")
        table(n);
    else if (name == "s") {
        long spaces = std::clamp(number(attributeValue(n, "c"), 1), 1L, kMaxSpaces);
        spaces = spaces <= spacesLeft_ ? spaces : 1;
        spacesLeft_ -= spaces;
        for (long k = 0; k < spaces; ++k)
            out_.append(U' ');
    } else if (name == "tab")
        out_.tab();
    else if (name == "line-break")
        out_.lineBreak();
    else if (name == "note")
        note(n);
    else if (isOneOf(name, kDrawn) && frames_)
        frames_->push_back(n);
    else
        children(n);
}

void OdtText::paragraph(pugi::xml_node p, bool heading)
{
    layout_.startBlock();
    if (!layout_.inCell()) {
        if (heading) {
            const int level = static_cast<int>(std::clamp(number(attributeValue(p, "outline-level"), 1), 1L, 10L));
            out_.startHeading(level);
            // Headings inside a list take that list's label instead.
            if (listDepth_ == 0 && attributeValue(p, "is-list-header") != "true") {
                if (attributeValue(p, "restart-numbering") == "true")
                    headings_.started[static_cast<std::size_t>(level - 1)] = false;
                headings_.next(level - 1,
                               number(attributeValue(p, "start-value"),
                                      styles_.outline()[static_cast<std::size_t>(level - 1)].start));
                if (const std::string label = listLabel(styles_.outline(), headings_, level - 1); !label.empty())
                    out_.appendLabel(label + " ");
            }
        }
    }
    std::vector<pugi::xml_node> frames;
    std::vector<pugi::xml_node>* outer = std::exchange(frames_, &frames);
    children(p);
    frames_ = outer;
    layout_.endBlock();
    for (pugi::xml_node frame : frames) {
        children(frame);
        layout_.endBlock();
    }
}

// A list numbers its items afresh unless it continues the one before it of
// its style, or the one it names; a list inside an item goes on with its
// parent's count, one level deeper.
void OdtText::list(pugi::xml_node l)
{
    std::string style(attributeValue(l, "style-name"));
    if (style.empty())
        style = listStyle_;
    const LevelStyles* styles = styles_.list(style);
    const std::string outerStyle = std::exchange(listStyle_, style);
    if (count_) {
        const int level = std::min(listDepth_, kListLevels - 1);
        ++listDepth_;
        items(l, styles, *count_, level);
        --listDepth_;
        listStyle_ = outerStyle;
        return;
    }
    ListCount count;
    if (const std::string_view continues = attributeValue(l, "continue-list"); !continues.empty()) {
        if (const auto found = listById_.find(continues); found != listById_.end())
            count = found->second;
    } else if (attributeValue(l, "continue-numbering") == "true") {
        count = lastListOfStyle_[style];
    }
    count_ = &count;
    listDepth_ = 1;
    items(l, styles, count, 0);
    listDepth_ = 0;
    count_ = nullptr;
    listStyle_ = outerStyle;
    lastListOfStyle_[style] = count;
    if (const std::string_view id = attributeValue(l, "id"); !id.empty())
        listById_[std::string(id)] = count;
}

void OdtText::items(pugi::xml_node l, const LevelStyles* styles, ListCount& count, int level)
{
    for (pugi::xml_node item : l.children()) {
        const std::string_view name = localName(item);
        if (name != "list-item" && name != "list-header")
            continue;
        layout_.startBlock();
        if (name == "list-item") {
            const long start = styles ? (*styles)[static_cast<std::size_t>(level)].start : 1;
            count.next(level, number(attributeValue(item, "start-value"), start));
            const pugi::xml_node cached = childNamed(item, "number");
            const std::string label
                = cached ? package::collapsedText(cached) : (styles ? listLabel(*styles, count, level) : std::string());
            if (!label.empty())
                out_.appendLabel(label + " ");
        }
        for (pugi::xml_node child : item.children())
            if (localName(child) != "number")
                node(child);
    }
}

void OdtText::table(pugi::xml_node tableOrGroup)
{
    for (pugi::xml_node child : tableOrGroup.children()) {
        const std::string_view name = localName(child);
        if (name == "table-row") {
            layout_.startBlock();
            row(child);
            layout_.endBlock();
        } else if (name == "table-header-rows" || name == "table-rows" || name == "table-row-group") {
            table(child);
        }
    }
}

void OdtText::row(pugi::xml_node r)
{
    bool first = true;
    for (pugi::xml_node cell : r.children()) {
        const std::string_view name = localName(cell);
        if (name != "table-cell" && name != "covered-table-cell")
            continue;
        if (!first)
            layout_.betweenCells();
        first = false;
        layout_.enterCell();
        children(cell);
        layout_.leaveCell();
    }
}

// A note's mark is its citation, with a full stop after a number it was
// given (a mark of the author's own, like "*", stands as it is).
void OdtText::note(pugi::xml_node n)
{
    const pugi::xml_node citation = childNamed(n, "note-citation");
    std::string mark = package::collapsedText(citation);
    if (attributeValue(citation, "label").empty())
        mark += '.';
    auto& notes = attributeValue(n, "note-class") == "endnote" ? endnotes_ : footnotes_;
    notes.push_back({std::move(mark), noteBodies_.append_copy(childNamed(n, "note-body"))});
}

void OdtText::writeNotes(const std::vector<Note>& notes)
{
    // A note inside a note (which no writer makes) joins the list as it is read.
    for (std::size_t k = 0; k < notes.size(); ++k) {
        const Note note = notes[k];
        out_.endParagraph();
        out_.appendLabel(note.mark + " ");
        children(note.body);
    }
}

}  // namespace leafmill::extract::odt
