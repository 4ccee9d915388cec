#include "extract/markup/XhtmlText.h"

#include "extract/markup/EpubToc.h"
#include "extract/package/TextBuilder.h"
#include "extract/package/XmlDocument.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace leafmill::extract::epub {

using package::attributeValue;
using package::isOneOf;
using package::localName;
using package::TextBuilder;

namespace {

constexpr std::string_view kHidden[] = {
    "head", "script", "style", "template", "rt", "rp", "img", "object", "embed", "audio", "video",
};

// What a picture holds besides its drawn text: names, descriptions, styles.
constexpr std::string_view kDrawingHidden[] = {"title", "desc", "metadata", "style", "script"};

// The markup an epub:switch case may require that this reader reads.
constexpr std::string_view kReadNamespaces[] = {"http://www.w3.org/1998/Math/MathML", "http://www.w3.org/2000/svg"};

constexpr std::string_view kBlocks[] = {
    "address",  "article",    "aside",  "blockquote", "body",  "caption", "dd",    "div", "dl", "dt",
    "fieldset", "figcaption", "figure", "footer",     "form",  "h1",      "h2",    "h3",  "h4", "h5",
    "h6",       "header",     "hgroup", "hr",         "li",    "main",    "nav",   "ol",  "p",  "pre",
    "section",  "table",      "tbody",  "td",         "tfoot", "th",      "thead", "tr",  "ul",
};

bool hasWord(std::string_view list, std::string_view word)
{
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(' ', start), list.size());
        if (list.substr(start, end - start) == word)
            return true;
        start = end + 1;
    }
    return false;
}

bool isNoteReference(pugi::xml_node e)
{
    return hasWord(attributeValue(e, "type"), "noteref") || attributeValue(e, "role") == "doc-noteref"
        || hasWord(attributeValue(e, "role"), "doc-backlink") || hasWord(attributeValue(e, "class"), "footnote-back");
}

bool isNote(pugi::xml_node e)
{
    const std::string_view type = attributeValue(e, "type"), role = attributeValue(e, "role");
    return hasWord(type, "footnote") || hasWord(type, "endnote") || hasWord(type, "rearnote") || role == "doc-footnote"
        || role == "doc-endnote";
}

bool isCell(pugi::xml_node e)
{
    const std::string_view name = localName(e);
    return name == "td" || name == "th";
}

long numberAttribute(pugi::xml_node e, std::string_view name, long otherwise)
{
    const std::string_view value = attributeValue(e, name);
    return value.empty() ? otherwise : std::strtol(std::string(value).c_str(), nullptr, 10);
}

}  // namespace

XhtmlText::XhtmlText(TextBuilder& out, std::map<std::string, std::vector<const TocEntry*>> chapters)
    : out_(out)
    , chapters_(std::move(chapters))
{
}

void XhtmlText::write(pugi::xml_node root)
{
    out_.endParagraph();
    startChapters("");
    node(root);
    // Notes set aside in the text follow it; an aside inside another is
    // written with it.
    for (std::size_t k = 0; k < asides_.size(); ++k) {
        out_.endParagraph();
        const pugi::xml_node aside = asides_[k];
        startChapters(attributeValue(aside, "id"));
        children(aside);
    }
    asides_.clear();
    out_.endParagraph();
}

void XhtmlText::startChapters(std::string_view id)
{
    const auto found = chapters_.find(std::string(id));
    if (found == chapters_.end())
        return;
    for (const TocEntry* entry : found->second)
        out_.startChapter(entry->title, entry->level);
    chapters_.erase(found);
}

void XhtmlText::node(pugi::xml_node n)
{
    switch (n.type()) {
    case pugi::node_pcdata:
    case pugi::node_cdata:
        out_.append(n.value(), preformatted_ > 0 ? TextBuilder::Space::Preserve : TextBuilder::Space::Collapse);
        return;
    case pugi::node_element:
        element(n);
        return;
    default:
        return;
    }
}

void XhtmlText::children(pugi::xml_node e)
{
    for (pugi::xml_node child : e.children())
        node(child);
}

void XhtmlText::element(pugi::xml_node e)
{
    const std::string name = asciiLowered(localName(e));
    if (isOneOf(name, kHidden) || isNoteReference(e))
        return;
    if (isNote(e) && name != "li") {
        asides_.push_back(e);
        return;
    }
    if (const std::string_view id = attributeValue(e, "id"); !id.empty())
        startChapters(id);
    if (name == "svg") {
        drawing(e);
        return;
    }
    if (name == "math") {
        formula(e);
        return;
    }
    if (name == "switch") {
        alternatives(e);
        return;
    }
    if (name == "br") {
        out_.lineBreak();
        return;
    }
    // Inside a table cell blocks only part words: the row stays one line.
    const bool block = isOneOf(name, kBlocks) && (cells_ == 0 || isCell(e));
    // A list item's line was started by its list, with the label.
    if (block && !isCell(e) && !(name == "li" && (localName(e.parent()) == "ol" || localName(e.parent()) == "ul")))
        out_.endParagraph();
    if (isCell(e)) {
        for (pugi::xml_node before = e.previous_sibling(); before; before = before.previous_sibling())
            if (isCell(before)) {
                out_.tab();
                break;
            }
    }
    if (name == "pre")
        ++preformatted_;
    if (isCell(e))
        ++cells_;
    else if (isOneOf(name, kBlocks) && !block)
        out_.append(" ");
    if (name == "ol" || name == "ul")
        list(e, name == "ol");
    else
        children(e);
    if (name == "pre")
        --preformatted_;
    if (isCell(e))
        --cells_;
    if (block && !isCell(e))
        out_.endParagraph();
}

// Text drawn in a picture (a page set as SVG): each <text> a line of its own,
// what a foreignObject holds as a page's.
void XhtmlText::drawing(pugi::xml_node group)
{
    for (pugi::xml_node child : group.children()) {
        if (child.type() != pugi::node_element)
            continue;
        const std::string_view name = localName(child);
        if (name == "text") {
            out_.endParagraph();
            out_.append(package::collapsedText(child));
            out_.endParagraph();
        } else if (name == "foreignObject") {
            children(child);
        } else if (!isOneOf(name, kDrawingHidden)) {
            drawing(child);
        }
    }
}

// A formula as its author describes it (alttext), else its characters in
// the order they are read; annotations (the TeX it was written in) are not.
void XhtmlText::formula(pugi::xml_node math)
{
    const bool display = attributeValue(math, "display") == "block";
    if (display)
        out_.endParagraph();
    const std::string_view description = attributeValue(math, "alttext");
    out_.append(description.empty() ? formulaCharacters(math) : std::string(description));
    if (display)
        out_.endParagraph();
}

// The tokens' characters (mi, mn, mo, mtext: elements of text alone), in order.
std::string XhtmlText::formulaCharacters(pugi::xml_node node)
{
    std::string text;
    for (pugi::xml_node child : node.children()) {
        const std::string_view name = localName(child);
        if (child.type() != pugi::node_element || name == "annotation" || name == "annotation-xml")
            continue;
        const bool token = std::none_of(child.children().begin(), child.children().end(),
                                        [](pugi::xml_node inner) { return inner.type() == pugi::node_element; });
        text += token ? package::collapsedText(child) : formulaCharacters(child);
    }
    return text;
}

// Of an epub:switch's branches the first case this reader reads, else the
// fallback a reading system without the case's markup shows.
void XhtmlText::alternatives(pugi::xml_node choices)
{
    pugi::xml_node chosen;
    for (pugi::xml_node child : choices.children())
        if (!chosen && localName(child) == "case"
            && isOneOf(attributeValue(child, "required-namespace"), kReadNamespaces))
            chosen = child;
    children(chosen ? chosen : package::childNamed(choices, "default"));
}

// Items numbered as browsers do: from the list's start (or, reversed, its
// item count) on, an item's own value restarting the count.
void XhtmlText::list(pugi::xml_node list, bool ordered)
{
    const bool reversed = !list.attribute("reversed").empty();
    long number = 1;
    if (reversed)
        number = static_cast<long>(std::count_if(list.children().begin(), list.children().end(),
                                                 [](pugi::xml_node item) { return localName(item) == "li"; }));
    number = numberAttribute(list, "start", number);
    for (pugi::xml_node child : list.children()) {
        if (child.type() == pugi::node_element && localName(child) == "li") {
            number = numberAttribute(child, "value", number);
            out_.endParagraph();
            if (const std::string_view id = attributeValue(child, "id"); !id.empty())
                startChapters(id);
            out_.appendLabel(ordered ? std::to_string(number) + ". " : std::string("\u2022 "));
            number += reversed ? -1 : 1;
        }
        node(child);
    }
}

}  // namespace leafmill::extract::epub
