#include "extract/docx/WordPackage.h"

#include "extract/package/PackageError.h"
#include "extract/package/PartPath.h"
#include "extract/package/XmlDocument.h"
#include "extract/package/ZipPackage.h"

#include <optional>

namespace leafmill::extract::docx {

using package::attributeValue;

namespace {

constexpr std::string_view kUsualDocument = "word/document.xml";

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

// Relationship kind to the part it names, for the relationships of `part`;
// links that leave the package or point outside it are never followed.
std::map<std::string, std::string, std::less<>> relationships(package::ZipPackage& zip, std::string_view part,
                                                              std::vector<std::string>& warnings)
{
    std::map<std::string, std::string, std::less<>> found;
    const std::string name = relationshipsOf(part);
    std::optional<std::string> text = zip.read(name);
    if (!text)
        return found;
    try {
        const package::XmlDocument document(std::move(*text), name);
        for (pugi::xml_node relation : package::descendantsNamed(document.root(), "Relationship")) {
            if (attributeValue(relation, "TargetMode") == "External")
                continue;
            const auto link = package::resolveLink(part, attributeValue(relation, "Target"));
            if (link)
                found.emplace(lastSegment(attributeValue(relation, "Type")), link->part);
        }
    } catch (const package::PackageError& error) {
        warnings.push_back(std::string("the document's relationships were guessed: ") + error.what());
    }
    return found;
}

}  // namespace

WordPackage readWordPackage(package::ZipPackage& zip, std::vector<std::string>& warnings)
{
    WordPackage word;
    const auto top = relationships(zip, "", warnings);
    if (const auto main = top.find("officeDocument"); main != top.end() && zip.contains(main->second))
        word.document = main->second;
    else if (zip.contains(kUsualDocument))
        word.document = kUsualDocument;
    else
        throw package::PackageError("the package holds no Word document (word/document.xml)");
    word.related = relationships(zip, word.document, warnings);
    // Packages written without relationships still use the usual names.
    const std::string folder = word.document.substr(0, word.document.rfind('/') + 1);
    for (const char* kind : {"styles", "numbering", "footnotes", "endnotes", "settings"})
        if (!word.related.count(kind) && zip.contains(folder + kind + ".xml"))
            word.related.emplace(kind, folder + kind + ".xml");
    return word;
}

}  // namespace leafmill::extract::docx
