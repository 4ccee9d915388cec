#include "extract/epub/EpubPackage.h"

#include "extract/package/FirstOfEach.h"
#include "extract/package/PackageError.h"
#include "extract/package/PartPath.h"
#include "extract/package/XmlDocument.h"
#include "extract/package/ZipPackage.h"

#include <algorithm>

namespace leafmill::extract::epub {

using package::attributeValue;
using package::localName;
using package::PackageError;
using package::XmlDocument;

namespace {

constexpr std::string_view kContainer = "META-INF/container.xml";
constexpr std::string_view kEncryption = "META-INF/encryption.xml";

struct ManifestItem {
    std::string_view id;
    pugi::xml_node item;
};

bool containsWord(std::string_view list, std::string_view word)
{
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t end = std::min(list.find(' ', start), list.size());
        if (list.substr(start, end - start) == word)
            return true;
        start = end + 1;
    }
    return false;
}

// Fonts are often obfuscated with a key drawn from the book's identifier;
// that hides nothing of the text. Any other encrypted part is DRM.
void refuseEncryptedText(package::ZipPackage& zip)
{
    const std::optional<std::string> encryption = zip.read(kEncryption);
    if (!encryption)
        return;
    const XmlDocument document(*encryption, kEncryption);
    for (pugi::xml_node data : package::descendantsNamed(document.root(), "EncryptedData")) {
        const std::string_view algorithm = attributeValue(package::childNamed(data, "EncryptionMethod"), "Algorithm");
        if (algorithm != "http://www.idpf.org/2008/embedding" && algorithm != "http://ns.adobe.com/pdf/enc#RC")
            throw PackageError("the book is protected by DRM: its content is encrypted, so its text cannot be read");
    }
}

std::string rootfilePath(package::ZipPackage& zip)
{
    const std::optional<std::string> container = zip.read(kContainer);
    if (!container)
        throw PackageError("the book has no " + std::string(kContainer) + " naming its package document");
    const XmlDocument document(*container, kContainer);
    std::string first;
    for (pugi::xml_node rootfiles : document.root().children()) {
        if (localName(rootfiles) != "rootfiles")
            continue;
        for (pugi::xml_node rootfile : rootfiles.children()) {
            if (localName(rootfile) != "rootfile")
                continue;
            const std::string_view path = attributeValue(rootfile, "full-path");
            if (attributeValue(rootfile, "media-type") == "application/oebps-package+xml" && !path.empty())
                return std::string(path);
            if (first.empty())
                first = path;
        }
    }
    if (first.empty())
        throw PackageError("the book's " + std::string(kContainer) + " names no package document");
    return first;
}

}  // namespace

EpubPackage readEpubPackage(package::ZipPackage& zip, std::vector<std::string>& warnings)
{
    refuseEncryptedText(zip);
    const std::string opfPath = rootfilePath(zip);
    std::optional<std::string> opf = zip.read(opfPath);
    if (!opf)
        throw PackageError("the book's package document " + opfPath + " is missing");
    const XmlDocument document(std::move(*opf), opfPath);
    const pugi::xml_node root = document.root();

    // The manifest's items by id, pointing into the tree: a book of many
    // parts would otherwise hold every item's strings twice over.
    std::vector<ManifestItem> manifest;
    EpubPackage book;
    for (pugi::xml_node item : package::childNamed(root, "manifest").children()) {
        if (localName(item) != "item")
            continue;
        const auto link = package::resolveLink(opfPath, attributeValue(item, "href"));
        if (!link)
            continue;
        const std::string_view type = attributeValue(item, "media-type");
        if (containsWord(attributeValue(item, "properties"), "nav") && book.navDocument.empty())
            book.navDocument = link->part;
        if (type == "application/x-dtbncx+xml" && book.ncx.empty())
            book.ncx = link->part;
        manifest.push_back({attributeValue(item, "id"), item});
    }
    // Of items sharing an id, the first counts.
    std::ranges::stable_sort(manifest, {}, &ManifestItem::id);
    const auto find = [&](std::string_view id) -> pugi::xml_node {
        const auto found = std::ranges::lower_bound(manifest, id, {}, &ManifestItem::id);
        return found != manifest.end() && found->id == id ? found->item : pugi::xml_node();
    };
    const auto partOf
        = [&](pugi::xml_node item) { return package::resolveLink(opfPath, attributeValue(item, "href"))->part; };

    const pugi::xml_node spine = package::childNamed(root, "spine");
    if (const pugi::xml_node toc = find(attributeValue(spine, "toc")))
        book.ncx = partOf(toc);
    std::size_t unknown = 0;
    std::vector<std::string> parts;
    std::vector<bool> outside;  // linear="no"
    for (pugi::xml_node itemref : spine.children()) {
        if (localName(itemref) != "itemref")
            continue;
        const pugi::xml_node item = find(attributeValue(itemref, "idref"));
        std::string part = item ? partOf(item) : std::string();
        if (!item || !zip.contains(part)) {
            ++unknown;
            continue;
        }
        const std::string_view type = attributeValue(item, "media-type");
        // Pictures and other documents have no text of their own; an SVG page may draw some.
        if (type != "application/xhtml+xml" && type != "text/html" && type != "application/x-dtbook+xml"
            && type != "image/svg+xml")
            continue;
        parts.push_back(std::move(part));
        outside.push_back(attributeValue(itemref, "linear") == "no");
    }
    const std::size_t repeated = package::keepFirstOfEach(parts, outside);
    // Documents outside the reading order (notes, a contents page) are
    // reached through links: a reading system passes them by as it pages
    // through the book. They follow the main text, so that the text reads
    // on without them and none of theirs is lost.
    book.spine.reserve(parts.size());
    for (const bool second : {false, true})
        for (std::size_t i = 0; i < parts.size(); ++i)
            if (outside[i] == second)
                book.spine.push_back(std::move(parts[i]));
    if (unknown > 0)
        warnings.push_back(
            std::to_string(unknown)
            + " entries of the book's reading order name no document in the book; they were passed over");
    if (repeated > 0)
        warnings.push_back(std::to_string(repeated)
                           + " entries of the book's reading order repeat a document; it was read once");
    if (book.spine.empty())
        throw PackageError("the book's reading order (spine) names no document to read");
    return book;
}

}  // namespace leafmill::extract::epub
