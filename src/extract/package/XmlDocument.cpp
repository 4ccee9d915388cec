#include "extract/package/XmlDocument.h"

#include "extract/common/HtmlEntities.h"
#include "extract/package/PackageError.h"

#include <algorithm>
#include <cstring>

namespace leafmill::extract::package {

namespace {

// Visits every node below `node` in document order with its depth (1 for
// the children), without recursion.
template <typename Visit> void walkBelow(pugi::xml_node node, Visit visit)
{
    int depth = 1;
    for (pugi::xml_node piece = node.first_child(); piece;) {
        visit(piece, depth);
        if (piece.first_child()) {
            piece = piece.first_child();
            ++depth;
            continue;
        }
        while (piece != node && !piece.next_sibling()) {
            piece = piece.parent();
            --depth;
        }
        if (piece == node)
            break;
        piece = piece.next_sibling();
    }
}

int deepestNesting(pugi::xml_node root)
{
    int deepest = 0;
    walkBelow(root, [&](pugi::xml_node, int depth) { deepest = std::max(deepest, depth); });
    return deepest;
}

bool hasReference(const char* text)
{
    return std::strchr(text, '&') != nullptr;
}

std::string decoded(const char* text)
{
    std::string out;
    appendDecodingReferences(text, out);
    return out;
}

// The tree was parsed with every reference left as written; decode them once
// with the HTML table, which holds XML's five as well.
void decodeHtmlReferences(pugi::xml_node root)
{
    const auto decode = [](pugi::xml_node node) {
        if (node.type() == pugi::node_pcdata && hasReference(node.value()))
            node.set_value(decoded(node.value()).c_str());
        for (pugi::xml_attribute attribute : node.attributes())
            if (hasReference(attribute.value()))
                attribute.set_value(decoded(attribute.value()).c_str());
    };
    decode(root);
    walkBelow(root, [&](pugi::xml_node node, int) { decode(node); });
}

bool isXmlSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

}  // namespace

namespace {

// Blank text between elements counts ("<em>a</em> <em>b</em>", a run
// holding one space), so it is kept.
constexpr unsigned kParseOptions = (pugi::parse_default | pugi::parse_ws_pcdata) & ~pugi::parse_doctype;

}  // namespace

XmlDocument::XmlDocument(std::string text, std::string_view part, References references)
    : text_(std::move(text))
{
    parse(part, references, pugi::encoding_auto, 0, true);
}

XmlDocument::XmlDocument(std::string text, std::string_view part, pugi::xml_encoding encoding, int enclosing,
                         References references)
    : text_(std::move(text))
{
    parse(part, references, encoding, enclosing, false);
}

void XmlDocument::parse(std::string_view part, References references, pugi::xml_encoding encoding, int enclosing,
                        bool whole)
{
    const unsigned options = references == References::Html ? kParseOptions & ~pugi::parse_escapes : kParseOptions;
    const pugi::xml_parse_result parsed = document_.load_buffer_inplace(text_.data(), text_.size(), options, encoding);
    complete_ = static_cast<bool>(parsed);
    if (!root() && whole)
        throw PackageError("the package's part " + std::string(part) + " is no XML (" + parsed.description() + ")");
    if (enclosing + deepestNesting(root()) > kMaxDepth)
        throw PackageError("the package's part " + std::string(part) + " nests its elements more than "
                           + std::to_string(kMaxDepth) + " deep");
    if (references == References::Html)
        decodeHtmlReferences(root());
}

std::string_view localName(const char* name)
{
    std::string_view n(name);
    const std::size_t colon = n.find(':');
    return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

std::string_view attributeValue(pugi::xml_node node, std::string_view name)
{
    for (pugi::xml_attribute attribute : node.attributes())
        if (localName(attribute.name()) == name)
            return attribute.value();
    return {};
}

pugi::xml_node childNamed(pugi::xml_node node, std::string_view name)
{
    for (pugi::xml_node child : node.children())
        if (child.type() == pugi::node_element && localName(child) == name)
            return child;
    return {};
}

std::vector<pugi::xml_node> descendantsNamed(pugi::xml_node node, std::string_view name)
{
    std::vector<pugi::xml_node> found;
    walkBelow(node, [&](pugi::xml_node piece, int) {
        if (piece.type() == pugi::node_element && localName(piece) == name)
            found.push_back(piece);
    });
    return found;
}

std::set<std::string, std::less<>> elementIds(pugi::xml_node node)
{
    std::set<std::string, std::less<>> ids;
    const auto add = [&](pugi::xml_node e) {
        if (const std::string_view id = attributeValue(e, "id"); !id.empty())
            ids.emplace(id);
    };
    add(node);
    walkBelow(node, [&](pugi::xml_node e, int) {
        if (e.type() == pugi::node_element)
            add(e);
    });
    return ids;
}

std::string collapsedText(pugi::xml_node node)
{
    std::string out;
    bool space = false;
    walkBelow(node, [&](pugi::xml_node piece, int) {
        if (piece.type() != pugi::node_pcdata && piece.type() != pugi::node_cdata)
            return;
        for (const char* c = piece.value(); *c; ++c) {
            if (isXmlSpace(*c)) {
                space = true;
                continue;
            }
            if (space && !out.empty())
                out += ' ';
            space = false;
            out += *c;
        }
    });
    return out;
}

}  // namespace leafmill::extract::package
