#include "extract/docx/MarkupCompatibility.h"

#include "extract/package/XmlDocument.h"

#include <string>
#include <string_view>

namespace leafmill::extract::docx {

namespace {

// The namespaces whose elements the Word reader reads: the document's own,
// and the drawings and shapes text boxes come in.
constexpr std::string_view kReadNamespaces[] = {
    "http://schemas.openxmlformats.org/wordprocessingml/2006/main",
    "http://schemas.openxmlformats.org/drawingml/2006/main",
    "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing",
    "http://schemas.microsoft.com/office/word/2010/wordprocessingDrawing",
    "http://schemas.microsoft.com/office/word/2010/wordprocessingShape",
    "http://schemas.microsoft.com/office/word/2010/wordprocessingGroup",
    "http://schemas.microsoft.com/office/word/2010/wordprocessingCanvas",
    "urn:schemas-microsoft-com:vml",
};

// The namespace a prefix stands for where `node` is, or "" when none is declared.
std::string_view namespaceOf(std::string_view prefix, pugi::xml_node node)
{
    const std::string declaration = "xmlns:" + std::string(prefix);
    for (; node; node = node.parent())
        if (const pugi::xml_attribute attribute = node.attribute(declaration.c_str()))
            return attribute.value();
    return {};
}

bool readsAll(std::string_view prefixes, pugi::xml_node choice)
{
    for (std::size_t start = 0; start < prefixes.size();) {
        const std::size_t end = std::min(prefixes.find_first_of(" \t\r\n", start), prefixes.size());
        if (end > start && !package::isOneOf(namespaceOf(prefixes.substr(start, end - start), choice), kReadNamespaces))
            return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

pugi::xml_node chosenAlternative(pugi::xml_node alternateContent)
{
    for (pugi::xml_node branch : alternateContent.children())
        if (package::localName(branch) == "Choice" && readsAll(package::attributeValue(branch, "Requires"), branch))
            return branch;
    return package::childNamed(alternateContent, "Fallback");
}

}  // namespace leafmill::extract::docx
