#pragma once

#include <pugixml.hpp>

#include <algorithm>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::package {

// Which character references a document may use besides the numeric ones:
// XML's five, or HTML's named entities too (XHTML in e-books uses &nbsp;
// and friends without a DTD that would declare them).
enum class References { Xml, Html };

// One XML part parsed into a tree. No DTD is read and no entity is ever
// expanded beyond the predefined (or HTML's) ones, so a billion-laughs
// document yields its references as written. Elements nested deeper than
// kMaxDepth are refused, so that the readers may walk the tree recursively.
class XmlDocument {
public:
    static constexpr int kMaxDepth = 512;

    // Throws PackageError naming `part` when the text holds no element at
    // all or nests too deep. A document that breaks off half-way is kept up
    // to the break (complete() is then false).
    XmlDocument(std::string text, std::string_view part, References references = References::Xml);
    // One element of a larger part, `enclosing` elements deep in it, in the
    // encoding the part declared. Text broken off before its first element
    // gives an empty root().
    XmlDocument(std::string text, std::string_view part, pugi::xml_encoding encoding, int enclosing,
                References references = References::Xml);
    // The tree points into text_: it may not move.
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    pugi::xml_node root() const { return document_.document_element(); }
    bool complete() const { return complete_; }

private:
    void parse(std::string_view part, References references, pugi::xml_encoding encoding, int enclosing, bool whole);

    std::string text_;
    pugi::xml_document document_;
    bool complete_ = true;
};

// The name without its namespace prefix: "w:p" gives "p".
std::string_view localName(const char* name);
inline std::string_view localName(pugi::xml_node node)
{
    return localName(node.name());
}

// Whether `name` is one of `names`. The readers' element tables are plain
// arrays: a set would be built before main in every start of the program.
inline bool isOneOf(std::string_view name, std::span<const std::string_view> names)
{
    return std::ranges::find(names, name) != names.end();
}

// The value of the attribute whose local name is `name`, or "" when there is none.
std::string_view attributeValue(pugi::xml_node node, std::string_view name);

// The first child element with that local name (empty node when none).
pugi::xml_node childNamed(pugi::xml_node node, std::string_view name);

// Every element below `node` with that local name, in document order.
std::vector<pugi::xml_node> descendantsNamed(pugi::xml_node node, std::string_view name);

// The id attributes of `node` and every element below it.
std::set<std::string, std::less<>> elementIds(pugi::xml_node node);

// The text of every character-data node below `node`, white space collapsed
// to single blanks, trimmed: a title on one line.
std::string collapsedText(pugi::xml_node node);

}  // namespace leafmill::extract::package
