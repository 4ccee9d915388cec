#include "extract/epub/EpubPackage.h"

#include "extract/package/FirstOfEach.h"
#include "extract/package/PackageError.h"
#include "extract/package/PartPath.h"
#include "extract/package/PartPieces.h"
#include "extract/package/XmlDocument.h"
#include "extract/package/ZipPackage.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <numeric>
#include <utility>

namespace leafmill::extract::epub {

using package::attributeValue;
using package::localName;
using package::PackageError;
using package::XmlBlocks;
using Role = XmlBlocks::Role;
using package::XmlDocument;

namespace {

constexpr std::string_view kContainer = "META-INF/container.xml";
constexpr std::string_view kEncryption = "META-INF/encryption.xml";

// An item of the manifest, as much of it as the spine needs.
struct ManifestItem {
    std::string id;
    std::string part;
    bool readable = false;  // a document that may hold text
};

struct SpineEntry {
    std::string idref;
    bool outside = false;  // linear="no"
};

// The package document's manifest and spine, read piece by piece: a book
// of many parts would otherwise hold the document and its tree, several
// times the size of what is kept of it. The lists grow in deques, which
// never move what they hold.
struct PackageLists {
    std::deque<ManifestItem> manifest;
    std::deque<SpineEntry> spine;
    std::string spineToc;  // the id the spine's toc attribute names
    std::string navDocument, ncx;
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
void refuseEncryptedText(package::ZipPackage& zip, const std::string& folder)
{
    const std::string name = folder + std::string(kEncryption);
    const std::optional<std::string> encryption = zip.read(name);
    if (!encryption)
        return;
    const XmlDocument document(*encryption, name);
    for (pugi::xml_node data : package::descendantsNamed(document.root(), "EncryptedData")) {
        const std::string_view algorithm = attributeValue(package::childNamed(data, "EncryptionMethod"), "Algorithm");
        if (algorithm != "http://www.idpf.org/2008/embedding" && algorithm != "http://ns.adobe.com/pdf/enc#RC")
            throw PackageError("the book is protected by DRM: its content is encrypted, so its text cannot be read");
    }
}

// The package document the container names. Some tools zip the folder that
// holds the book instead of its files: the container is then in that folder,
// and the book's paths are inside it. A book without a container has its
// package document (of several, the least deep) stand for it.
std::string rootfilePath(package::ZipPackage& zip)
{
    const std::optional<std::string> containerName
        = zip.contains(kContainer) ? std::string(kContainer) : zip.shallowestEndingIn("/" + std::string(kContainer));
    if (!containerName) {
        refuseEncryptedText(zip, "");
        if (std::optional<std::string> packageDocument = zip.shallowestEndingIn(".opf"))
            return *packageDocument;
        throw PackageError("the book has no " + std::string(kContainer) + " naming its package document");
    }
    const std::string folder = containerName->substr(0, containerName->size() - kContainer.size());
    refuseEncryptedText(zip, folder);
    const XmlDocument document(*zip.read(*containerName), *containerName);
    std::string first;
    for (pugi::xml_node rootfiles : document.root().children()) {
        if (localName(rootfiles) != "rootfiles")
            continue;
        for (pugi::xml_node rootfile : rootfiles.children()) {
            if (localName(rootfile) != "rootfile")
                continue;
            const std::string_view path = attributeValue(rootfile, "full-path");
            if (attributeValue(rootfile, "media-type") == "application/oebps-package+xml" && !path.empty())
                return folder + std::string(path);
            if (first.empty())
                first = path;
        }
    }
    if (first.empty())
        throw PackageError("the book's " + std::string(kContainer) + " names no package document");
    return folder + first;
}

// Pictures and other documents have no text of their own; an SVG page may draw some.
bool mayHoldText(std::string_view type)
{
    return type == "application/xhtml+xml" || type == "text/html" || type == "application/x-dtbook+xml"
        || type == "image/svg+xml";
}

void addItem(pugi::xml_node item, const std::string& opfPath, PackageLists& lists)
{
    const auto link = package::resolveLink(opfPath, attributeValue(item, "href"));
    if (!link)
        return;
    const std::string_view type = attributeValue(item, "media-type");
    if (containsWord(attributeValue(item, "properties"), "nav") && lists.navDocument.empty())
        lists.navDocument = link->part;
    if (type == "application/x-dtbncx+xml" && lists.ncx.empty())
        lists.ncx = link->part;
    lists.manifest.push_back({std::string(attributeValue(item, "id")), link->part, mayHoldText(type)});
}

// The first manifest and spine below the root, their items and itemrefs.
PackageLists readLists(package::ZipPackage& zip, const std::string& opfPath)
{
    enum class In { Other, Manifest, Spine };
    In in = In::Other;
    bool manifestFound = false, spineFound = false;
    const auto roles = [&](std::string_view name, std::size_t depth) {
        if (depth == 0) {
            in = In::Other;
            if (name == "manifest" && !std::exchange(manifestFound, true))
                in = In::Manifest;
            else if (name == "spine" && !std::exchange(spineFound, true))
                in = In::Spine;
            return in == In::Other ? Role::Passed : Role::Container;
        }
        return (in == In::Manifest && name == "item") || (in == In::Spine && name == "itemref") ? Role::Block
                                                                                                : Role::Passed;
    };
    std::optional<XmlBlocks> pieces = package::partPieces(zip, opfPath, roles);
    if (!pieces)
        throw PackageError("the book's package document " + opfPath + " is missing");
    PackageLists lists;
    for (pugi::xml_node piece = pieces->next(); piece; piece = pieces->next()) {
        if (pieces->kind() == XmlBlocks::Kind::Start && in == In::Spine)
            lists.spineToc = attributeValue(piece, "toc");
        else if (pieces->kind() == XmlBlocks::Kind::Block && in == In::Manifest)
            addItem(piece, opfPath, lists);
        else if (pieces->kind() == XmlBlocks::Kind::Block)
            lists.spine.push_back(
                {std::string(attributeValue(piece, "idref")), attributeValue(piece, "linear") == "no"});
    }
    return lists;
}

}  // namespace

EpubPackage readEpubPackage(package::ZipPackage& zip, std::vector<std::string>& warnings)
{
    const std::string opfPath = rootfilePath(zip);
    const PackageLists lists = readLists(zip, opfPath);
    EpubPackage book;
    book.navDocument = lists.navDocument;
    book.ncx = lists.ncx;

    // The manifest's items by id, as positions: of items sharing an id, the first counts.
    std::vector<std::uint32_t> byId(lists.manifest.size());
    std::iota(byId.begin(), byId.end(), 0U);
    std::ranges::stable_sort(byId, {}, [&](std::uint32_t i) -> const std::string& { return lists.manifest[i].id; });
    const auto find = [&](std::string_view id) -> const ManifestItem* {
        const auto found = std::ranges::lower_bound(
            byId, id, {}, [&](std::uint32_t i) -> std::string_view { return lists.manifest[i].id; });
        return found != byId.end() && lists.manifest[*found].id == id ? &lists.manifest[*found] : nullptr;
    };

    if (const ManifestItem* toc = find(lists.spineToc))
        book.ncx = toc->part;
    std::size_t unknown = 0;
    std::vector<std::string> parts;
    std::vector<bool> outside;
    parts.reserve(lists.spine.size());
    for (const SpineEntry& entry : lists.spine) {
        const ManifestItem* item = find(entry.idref);
        if (!item || !zip.contains(item->part)) {
            ++unknown;
            continue;
        }
        if (!item->readable)
            continue;
        parts.push_back(item->part);
        outside.push_back(entry.outside);
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
