#include "extract/docx/WordPackage.h"

#include "extract/package/PackageError.h"
#include "extract/package/PartPath.h"
#include "extract/package/XmlDocument.h"
#include "extract/package/ZipPackage.h"

#include "text/AsciiCase.h"

#include <algorithm>
#include <optional>

namespace leafmill::extract::docx {

using package::attributeValue;

namespace {

constexpr std::string_view kUsualDocument = "word/document.xml";
constexpr std::string_view kContentTypes = "[Content_Types].xml";

// The relationships part beside `part`: "word/document.xml" gives
// "word/_rels/document.xml.rels", the package itself ("") "_rels/.rels".
std::string relationshipsOf(std::string_view part)
{
    const std::size_t slash = part.rfind('/');
    const std::string_view folder = slash == std::string_view::npos ? std::string_view() : part.substr(0, slash + 1);
    const std::string_view name = slash == std::string_view::npos ? part : part.substr(slash + 1);
    return std::string(folder) + "_rels/" + std::string(name) + ".rels";
}

std::string_view lastSegment(std::string_view type)
{
    return type.substr(type.rfind('/') + 1);
}

struct Relationship {
    std::string id, kind, part;
};

// The relationships of `part` whose targets lie in the package; links that
// leave it or point outside it are never followed.
std::vector<Relationship> relationships(package::ZipPackage& zip, std::string_view part,
                                        std::vector<std::string>& warnings)
{
    std::vector<Relationship> found;
    const std::string name = relationshipsOf(part);
    std::optional<std::string> text = zip.read(name);
    if (!text)
        return found;
    try {
        const package::XmlDocument document(std::move(*text), name);
        for (pugi::xml_node relation : package::descendantsNamed(document.root(), "Relationship")) {
            if (attributeValue(relation, "TargetMode") == "External")
                continue;
            if (const auto link = package::resolveLink(part, attributeValue(relation, "Target")))
                found.push_back({std::string(attributeValue(relation, "Id")),
                                 std::string(lastSegment(attributeValue(relation, "Type"))), link->part});
        }
    } catch (const package::PackageError& error) {
        warnings.push_back(std::string("the document's relationships were guessed: ") + error.what());
    }
    return found;
}

std::string_view extensionOf(std::string_view part)
{
    const std::size_t dot = part.rfind('.');
    return dot == std::string_view::npos || part.find('/', dot) != std::string_view::npos ? std::string_view()
                                                                                          : part.substr(dot + 1);
}

// The content types of [Content_Types].xml: parts' own, and extensions', in
// lower case.
struct ContentTypes {
    std::map<std::string, std::string> parts, extensions;

    std::string_view of(std::string_view part) const
    {
        if (const auto own = parts.find("/" + asciiLowered(part)); own != parts.end())
            return own->second;
        const auto byExtension = extensions.find(asciiLowered(extensionOf(part)));
        return byExtension == extensions.end() ? std::string_view() : std::string_view(byExtension->second);
    }
};

ContentTypes contentTypes(package::ZipPackage& zip)
{
    ContentTypes types;
    std::optional<std::string> text = zip.read(kContentTypes);
    if (!text)
        return types;
    try {
        const package::XmlDocument document(std::move(*text), kContentTypes);
        for (pugi::xml_node entry : document.root().children()) {
            const std::string type = asciiLowered(attributeValue(entry, "ContentType"));
            if (package::localName(entry) == "Override")
                types.parts.emplace(asciiLowered(attributeValue(entry, "PartName")), type);
            else if (package::localName(entry) == "Default")
                types.extensions.emplace(asciiLowered(attributeValue(entry, "Extension")), type);
        }
    } catch (const package::PackageError&) {
        // Without content types the parts' names tell their kinds.
    }
    return types;
}

// The ending of the source kind whose reader takes an embedded part.
std::string chunkEnding(std::string_view type, std::string_view part)
{
    static constexpr std::pair<std::string_view, std::string_view> kKinds[] = {
        {"text/html", ".htm"},
        {"application/xhtml+xml", ".htm"},
        {"application/rtf", ".rtf"},
        {"text/rtf", ".rtf"},
        {"text/plain", ".txt"},
        {"application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml", "docx"},
        {"application/vnd.openxmlformats-officedocument.wordprocessingml.document", "docx"},
    };
    for (const auto& [known, ending] : kKinds)
        if (type == known)
            return std::string(ending);
    // A package without content types: by the part's name.
    static constexpr std::pair<std::string_view, std::string_view> kExtensions[] = {
        {"htm", ".htm"}, {"html", ".htm"}, {"xhtml", ".htm"}, {"rtf", ".rtf"}, {"txt", ".txt"}, {"docx", "docx"},
    };
    for (const auto& [known, ending] : kExtensions)
        if (type.empty() && asciiLowered(extensionOf(part)) == known)
            return std::string(ending);
    return {};
}

}  // namespace

WordPackage readWordPackage(package::ZipPackage& zip, std::vector<std::string>& warnings)
{
    WordPackage word;
    const auto top = relationships(zip, "", warnings);
    const auto main = std::find_if(top.begin(), top.end(), [&](const Relationship& relation) {
        return relation.kind == "officeDocument" && zip.contains(relation.part);
    });
    if (main != top.end())
        word.document = main->part;
    else if (zip.contains(kUsualDocument))
        word.document = kUsualDocument;
    else
        throw package::PackageError("the package holds no Word document (word/document.xml)");
    std::optional<ContentTypes> types;
    for (const Relationship& relation : relationships(zip, word.document, warnings)) {
        if (relation.kind != "aFChunk") {
            word.related.emplace(relation.kind, relation.part);
            continue;
        }
        if (!types)
            types = contentTypes(zip);
        word.chunks[relation.id] = {relation.part, chunkEnding(types->of(relation.part), relation.part)};
    }
    // Packages written without relationships still use the usual names.
    const std::string folder = word.document.substr(0, word.document.rfind('/') + 1);
    for (const char* kind : {"styles", "numbering", "footnotes", "endnotes", "settings"})
        if (!word.related.count(kind) && zip.contains(folder + kind + ".xml"))
            word.related.emplace(kind, folder + kind + ".xml");
    return word;
}

}  // namespace leafmill::extract::docx
