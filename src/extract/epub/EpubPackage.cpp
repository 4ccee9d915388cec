#include "extract/epub/EpubPackage.h"

#include "extract/package/PackageError.h"
#include "extract/package/PartPath.h"
#include "extract/package/XmlDocument.h"
#include "extract/package/ZipPackage.h"

#include <map>
#include <set>

namespace leafmill::extract::epub {

using package::attributeValue;
using package::localName;
using package::PackageError;
using package::XmlDocument;

namespace {

constexpr std::string_view kContainer = "META-INF/container.xml";
constexpr std::string_view kEncryption = "META-INF/encryption.xml";

struct ManifestItem {
    std::string part;
    std::string mediaType;
    std::string properties;
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
    const std::optional<std::string> opf = zip.read(opfPath);
    if (!opf)
        throw PackageError("the book's package document " + opfPath + " is missing");
    const XmlDocument document(*opf, opfPath);
    const pugi::xml_node root = document.root();

    std::map<std::string, ManifestItem, std::less<>> manifest;
    EpubPackage book;
    for (pugi::xml_node item : package::childNamed(root, "manifest").children()) {
        if (localName(item) != "item")
            continue;
        const auto link = package::resolveLink(opfPath, attributeValue(item, "href"));
        if (!link)
            continue;
        ManifestItem entry {link->part, std::string(attributeValue(item, "media-type")),
                            std::string(attributeValue(item, "properties"))};
        if (containsWord(entry.properties, "nav") && book.navDocument.empty())
            book.navDocument = entry.part;
        if (entry.mediaType == "application/x-dtbncx+xml" && book.ncx.empty())
            book.ncx = entry.part;
        manifest.emplace(std::string(attributeValue(item, "id")), std::move(entry));
    }

    const pugi::xml_node spine = package::childNamed(root, "spine");
    if (const auto toc = manifest.find(attributeValue(spine, "toc")); toc != manifest.end())
        book.ncx = toc->second.part;
    std::set<std::string> seen;
    std::size_t unknown = 0, repeated = 0;
    std::vector<std::string> auxiliary;
    for (pugi::xml_node itemref : spine.children()) {
        if (localName(itemref) != "itemref")
            continue;
        const auto item = manifest.find(attributeValue(itemref, "idref"));
        if (item == manifest.end() || !zip.contains(item->second.part)) {
            ++unknown;
            continue;
        }
        const std::string_view type = item->second.mediaType;
        // Pictures and other documents have no text of their own; an SVG page may draw some.
        if (type != "application/xhtml+xml" && type != "text/html" && type != "application/x-dtbook+xml"
            && type != "image/svg+xml")
            continue;
        if (!seen.insert(item->second.part).second) {
            ++repeated;
            continue;
        }
        (attributeValue(itemref, "linear") == "no" ? auxiliary : book.spine).push_back(item->second.part);
    }
    // Documents outside the reading order (notes, a contents page) are
    // reached through links: a reading system passes them by as it pages
    // through the book. They follow the main text, so that the text reads
    // on without them and none of theirs is lost.
    book.spine.insert(book.spine.end(), auxiliary.begin(), auxiliary.end());
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
