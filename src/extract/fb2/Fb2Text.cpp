#include "extract/fb2/Fb2Text.h"

#include "extract/package/TextBuilder.h"
#include "extract/package/XmlDocument.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace leafmill::extract::fb2 {

namespace {

using package::isOneOf;
using package::localName;

// Blocks that are one line of text each.
constexpr std::string_view kLines[] = {"p", "v", "subtitle", "text-author", "date"};

// The notes, which usually follow the main text, are kept up to this size as
// they are passed, rather than read again.
constexpr std::size_t kKeptOthers = std::size_t {16} << 20;

bool isElement(pugi::xml_node node, std::string_view name)
{
    return node.type() == pugi::node_element && localName(node) == name;
}

// The notes and comments bodies follow the text their references are in.
bool isNotesBody(pugi::xml_node body)
{
    const std::string_view name = package::attributeValue(body, "name");
    return name == "notes" || name == "comments";
}

// A title of several paragraphs ("Chapter One", "The Harbour") is one chapter name.
std::string titleName(pugi::xml_node title)
{
    std::string name;
    for (pugi::xml_node p : title.children()) {
        if (p.type() != pugi::node_element)
            continue;
        const std::string words = package::wellFormedWords(package::collapsedText(p));
        if (!words.empty())
            name += (name.empty() ? "" : " ") + words;
    }
    return name;
}

}  // namespace

Fb2Text::Fb2Text(package::TextBuilder& out, const Options& options)
    : out_(out)
    , options_(options)
{
}

void Fb2Text::write(package::XmlBlocks& pieces, bool notes, OtherBodies& others)
{
    for (pugi::xml_node piece = pieces.next(); piece; piece = pieces.next()) {
        const std::size_t depth = pieces.depth();
        switch (pieces.kind()) {
        case package::XmlBlocks::Kind::Start:
            if (depth == 0 && isNotesBody(piece) != notes) {
                others.found = true;
                if (!others.kept)
                    pieces.skipContainer();
                else if (!pieces.skipContainer(&others.xml, kKeptOthers)) {
                    others.kept = false;
                    std::string().swap(others.xml);
                }
            }
            break;
        case package::XmlBlocks::Kind::Text:
            // Text straight in a body or section, outside any paragraph, is text all the same.
            if (depth > 0)
                blocks(piece);
            break;
        case package::XmlBlocks::Kind::Block:
            // The body's title, and those of the sections outside notes, name chapters.
            if (isElement(piece, "title") && (depth == 1 || !notes))
                title(piece, static_cast<int>(std::max<std::size_t>(depth - 1, 1)));
            else
                content(piece);
            break;
        }
        out_.handOn(options_);
    }
}

package::XmlBlocks::Role Fb2Text::role(std::string_view name, std::size_t depth)
{
    using Role = package::XmlBlocks::Role;
    if (depth == 0)
        return name == "body" ? Role::Container : Role::Passed;
    return name == "section" ? Role::Container : Role::Block;
}

void Fb2Text::title(pugi::xml_node title, int level)
{
    out_.endParagraph();
    if (std::string name = titleName(title); !name.empty())
        out_.startChapter(std::move(name), level);
    blocks(title);
}

void Fb2Text::blocks(pugi::xml_node container)
{
    for (pugi::xml_node child : container.children())
        content(child);
}

void Fb2Text::content(pugi::xml_node node)
{
    if (node.type() == pugi::node_element)
        block(node);
    else if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
        out_.append(node.value());
}

void Fb2Text::block(pugi::xml_node element)
{
    const std::string_view name = localName(element);
    if (isOneOf(name, kLines))
        line(element);
    else if (name == "empty-line") {
        out_.endParagraph();
        out_.lineBreak();
    } else if (name == "table")
        table(element);
    else if (name != "image" && name != "binary")
        // Epigraphs, poems and their stanzas, citations, annotations and
        // whatever else holds blocks.
        blocks(element);
}

void Fb2Text::table(pugi::xml_node table)
{
    for (pugi::xml_node row : table.children()) {
        if (!isElement(row, "tr"))
            continue;
        out_.endParagraph();
        bool first = true;
        for (pugi::xml_node cell : row.children()) {
            if (cell.type() != pugi::node_element)
                continue;
            if (!first)
                out_.tab();
            first = false;
            inlineText(cell);
        }
        out_.endParagraph();
    }
}

void Fb2Text::line(pugi::xml_node element)
{
    out_.endParagraph();
    inlineText(element);
    out_.endParagraph();
}

void Fb2Text::inlineText(pugi::xml_node element)
{
    for (pugi::xml_node child : element.children()) {
        if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata)
            out_.append(child.value());
        else if (child.type() == pugi::node_element && localName(child) != "image")
            inlineText(child);
    }
}

}  // namespace leafmill::extract::fb2
