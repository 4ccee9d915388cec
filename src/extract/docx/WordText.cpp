#include "extract/docx/WordText.h"

#include "extract/docx/MarkupCompatibility.h"
#include "extract/docx/WordNumbering.h"
#include "extract/docx/WordStyles.h"
#include "extract/package/TextBuilder.h"
#include "extract/package/XmlDocument.h"
#include "text/SymbolFonts.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cstdlib>
#include <set>
#include <utility>

namespace leafmill::extract::docx {

using package::attributeValue;
using package::childNamed;
using package::isOneOf;
using package::localName;
using package::TextBuilder;

namespace {

// Properties, deleted or moved-away text, field instructions, comment marks
// and ruby guides: nothing of them is shown.
constexpr std::string_view kHidden[] = {
    "pPr",           "rPr",         "sectPr",       "tblPr",
    "tblPrEx",       "trPr",        "tcPr",         "tblGrid",
    "sdtPr",         "sdtEndPr",    "del",          "moveFrom",
    "delText",       "instrText",   "delInstrText", "commentReference",
    "annotationRef", "footnoteRef", "endnoteRef",   "rt",
    "rubyPr",        "fldData",     "customXmlPr",  "smartTagPr",
};

bool isOn(pugi::xml_node flag)
{
    const std::string_view value = attributeValue(flag, "val");
    return flag && value != "0" && value != "false" && value != "off";
}

bool isPrivateUse(unsigned long c)
{
    return c >= 0xE000 && c <= 0xF8FF;
}

}  // namespace

WordText::WordText(TextBuilder& out, const WordStyles& styles, WordNumbering& numbering, const WordNotes& notes,
                   ChunkReader chunks)
    : out_(out)
    , styles_(styles)
    , numbering_(numbering)
    , notes_(notes)
    , chunks_(std::move(chunks))
    , layout_(out)
    , nextFootnote_(notes.footnoteNumbers.start)
    , nextEndnote_(notes.endnoteNumbers.start)
{
}

void WordText::writeBlock(pugi::xml_node block)
{
    node(block);
}

void WordText::writeNotes()
{
    writeNotesOfKind(false);
    writeNotesOfKind(true);
    out_.endParagraph();
}

void WordText::children(pugi::xml_node n)
{
    for (pugi::xml_node child : n.children())
        node(child);
}

void WordText::node(pugi::xml_node n)
{
    if (n.type() != pugi::node_element)
        return;
    const std::string_view name = localName(n);
    if (isOneOf(name, kHidden))
        return;
    if (name == "p")
        paragraph(n);
    else if (name == "tbl")
        table(n);
    else if (name == "r")
        run(n);
    else if (name == "t")
        text(n);
    else if (name == "tab" || name == "ptab") {
        if (fieldsInInstructions_ == 0 && !noteStart_)
            out_.tab();
    } else if (name == "br" || name == "cr") {
        if (fieldsInInstructions_ == 0)
            out_.lineBreak();
    } else if (name == "noBreakHyphen") {
        if (fieldsInInstructions_ == 0)
            out_.append("-");
    } else if (name == "sym")
        symbol(n);
    else if (name == "fldChar")
        fieldCharacter(n);
    else if (name == "footnoteReference" || name == "endnoteReference")
        noteReference(n);
    else if (name == "drawing" || name == "pict" || name == "object")
        collectTextBoxes(n);
    else if (name == "altChunk")
        embedded(n);
    else if (name == "AlternateContent")
        node(chosenAlternative(n));
    else
        children(n);
}

void WordText::paragraph(pugi::xml_node p)
{
    const pugi::xml_node properties = childNamed(p, "pPr");
    const ParagraphStyle& style = styles_.paragraph(attributeValue(childNamed(properties, "pStyle"), "val"));
    const pugi::xml_node outline = childNamed(properties, "outlineLvl");
    const int level = outline ? outlineLevelOf(outline) : style.outlineLevel;
    NumberingRef list = numberingOf(childNamed(properties, "numPr"));
    if (list.numId.empty())
        list.numId = style.numbering.numId;
    if (list.level < 0)
        list.level = std::max(style.numbering.level, 0);

    // A drop cap is the first letter of the paragraph after it, set in a frame of its own.
    const std::string_view dropCap = attributeValue(childNamed(properties, "framePr"), "dropCap");
    const bool isDropCap = !dropCap.empty() && dropCap != "none" && !layout_.inCell();
    if (!std::exchange(afterDropCap_, false))
        layout_.startBlock();
    if (level > 0 && !layout_.inCell())
        out_.startHeading(level);
    if (!list.numId.empty() && list.numId != "0")
        if (const std::string label = numbering_.nextLabel(list); !label.empty())
            out_.appendLabel(label + " ");
    std::vector<pugi::xml_node> boxes;
    std::vector<pugi::xml_node>* outer = std::exchange(textBoxes_, &boxes);
    children(p);
    textBoxes_ = outer;
    if (isDropCap && boxes.empty()) {
        afterDropCap_ = true;
        return;
    }
    layout_.endBlock();
    for (pugi::xml_node box : boxes) {
        children(box);
        layout_.endBlock();
    }
}

void WordText::table(pugi::xml_node tableOrWrapper)
{
    afterDropCap_ = false;
    for (pugi::xml_node child : tableOrWrapper.children()) {
        const std::string_view name = localName(child);
        if (name == "tr") {
            layout_.startBlock();
            bool firstCell = true;
            row(child, firstCell);
            layout_.endBlock();
        } else if (name == "sdt" || name == "sdtContent" || name == "customXml" || name == "ins") {
            table(child);
        }
    }
}

void WordText::row(pugi::xml_node rowOrWrapper, bool& firstCell)
{
    for (pugi::xml_node child : rowOrWrapper.children()) {
        const std::string_view name = localName(child);
        if (name == "tc") {
            if (!firstCell)
                layout_.betweenCells();
            firstCell = false;
            layout_.enterCell();
            children(child);
            layout_.leaveCell();
        } else if (name == "sdt" || name == "sdtContent" || name == "customXml" || name == "ins") {
            row(child, firstCell);
        }
    }
}

void WordText::run(pugi::xml_node r)
{
    if (isOn(childNamed(childNamed(r, "rPr"), "vanish")))
        return;
    children(r);
}

void WordText::text(pugi::xml_node t)
{
    if (fieldsInInstructions_ > 0)
        return;
    const char* value = t.child_value();
    if (customMarkNext_ && !references_.empty()) {
        references_.back().mark += value;
        customMarkNext_ = false;
    }
    if (*value)
        noteStart_ = false;
    out_.append(value, TextBuilder::Space::Preserve);
}

// A character of a symbol font, as the other readers map them: the symbol
// fonts' to the characters they draw, other fonts' as they are, and other
// picture fonts' private characters, which stand for no character, left out.
void WordText::symbol(pugi::xml_node sym)
{
    if (fieldsInInstructions_ > 0)
        return;
    const unsigned long c = std::strtoul(std::string(attributeValue(sym, "char")).c_str(), nullptr, 16);
    const SymbolFont font = symbolFontNamed(attributeValue(sym, "font"));
    char32_t shown = c <= 0xFFFF ? symbolFontChar(font, static_cast<char32_t>(c)) : 0;
    if (shown == 0 && c >= 0x20 && !isPrivateUse(c) && c <= 0x10FFFF)
        shown = static_cast<char32_t>(c);
    if (shown == 0) {
        ++unmappedSymbols_;
        return;
    }
    out_.append(shown);
    noteStart_ = false;
    if (customMarkNext_ && !references_.empty()) {
        appendUtf8(shown, references_.back().mark);
        customMarkNext_ = false;
    }
}

void WordText::fieldCharacter(pugi::xml_node fldChar)
{
    const std::string_view type = attributeValue(fldChar, "fldCharType");
    if (type == "begin") {
        fields_.push_back(false);
        ++fieldsInInstructions_;
    } else if (type == "separate" && !fields_.empty() && !fields_.back()) {
        fields_.back() = true;
        --fieldsInInstructions_;
    } else if (type == "end" && !fields_.empty()) {
        if (!fields_.back())
            --fieldsInInstructions_;
        fields_.pop_back();
    }
}

// The mark shows where the note is referred to: Word's number for it, or
// the author's own mark, which is the text that follows.
void WordText::noteReference(pugi::xml_node reference)
{
    const bool endnote = localName(reference) == "endnoteReference";
    const std::string id(attributeValue(reference, "id"));
    const std::string_view custom = attributeValue(reference, "customMarkFollows");
    customMarkNext_ = !custom.empty() && custom != "0" && custom != "false" && custom != "off";
    NoteReference note {endnote, id, {}, customMarkNext_};
    if (!note.custom) {
        note.mark = countedMark(endnote, id);
        if (fieldsInInstructions_ == 0)
            out_.append(note.mark, TextBuilder::Space::Preserve);
    }
    references_.push_back(std::move(note));
}

// Notes are numbered in the order they are first referred to; a reference
// to a note the document lacks shows nothing and counts nothing.
std::string WordText::countedMark(bool endnote, const std::string& id)
{
    const auto& notes = endnote ? notes_.endnotes : notes_.footnotes;
    if (!notes.contains(id))
        return {};
    auto [mark, added] = countedMarks_.try_emplace({endnote, id});
    if (added)
        mark->second = formatNumber(endnote ? nextEndnote_++ : nextFootnote_++,
                                    endnote ? notes_.endnoteNumbers.style : notes_.footnoteNumbers.style);
    return mark->second;
}

void WordText::collectTextBoxes(pugi::xml_node drawing)
{
    if (!textBoxes_)
        return;
    for (pugi::xml_node box : package::descendantsNamed(drawing, "txbxContent")) {
        // A box inside another is written with it.
        bool nested = false;
        for (pugi::xml_node up = box.parent(); up && up != drawing; up = up.parent())
            nested = nested || localName(up) == "txbxContent";
        // Of a shape's two forms (DrawingML and VML) only the first is read.
        bool fallback = false;
        for (pugi::xml_node up = box.parent(); up && up != drawing; up = up.parent())
            fallback = fallback || localName(up) == "Fallback";
        if (!nested && !fallback)
            textBoxes_->push_back(box);
    }
}

void WordText::embedded(pugi::xml_node altChunk)
{
    const std::optional<Result> document = chunks_ ? chunks_(attributeValue(altChunk, "id")) : std::nullopt;
    if (!document)
        return;
    layout_.startBlock();
    out_.appendDocument(*document, layout_.inCell() ? TextBuilder::Space::Collapse : TextBuilder::Space::Preserve);
    layout_.endBlock();
}

void WordText::writeNotesOfKind(bool endnotes)
{
    const auto& notes = endnotes ? notes_.endnotes : notes_.footnotes;
    std::set<std::string, std::less<>> written;
    // Writing a note may name further notes: the list grows as it is read.
    for (std::size_t k = 0; k < references_.size(); ++k) {
        const NoteReference reference = references_[k];
        if (reference.endnote != endnotes || !written.insert(reference.id).second)
            continue;
        const auto note = notes.find(reference.id);
        if (note == notes.end())
            continue;
        out_.endParagraph();
        // A note with a mark of its own mostly starts with that mark as text.
        if (!reference.custom)
            out_.appendLabel(reference.mark + ". ");
        else if (!package::collapsedText(note->second).starts_with(reference.mark))
            out_.appendLabel(reference.mark + " ");
        noteStart_ = true;
        children(note->second);
        noteStart_ = false;
    }
}

}  // namespace leafmill::extract::docx
