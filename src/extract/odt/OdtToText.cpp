#include "extract/odt/OdtToText.h"

#include "extract/odt/OdtLists.h"
#include "extract/odt/OdtText.h"
#include "extract/package/PackageKind.h"
#include "extract/package/PackageReading.h"
#include "extract/package/TextBuilder.h"
#include "extract/package/XmlBlocks.h"
#include "extract/package/XmlDocument.h"
#include "extract/package/ZipPackage.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace leafmill::extract {

using package::attributeValue;
using package::childNamed;
using package::PackageError;
using package::XmlBlocks;
using package::XmlDocument;

namespace {

constexpr std::string_view kManifest = "META-INF/manifest.xml";

// A document's content, one block at a time, and in a package its styles.
struct OpenDocument {
    std::unique_ptr<XmlBlocks> content;
    std::unique_ptr<XmlDocument> styles;
};

// The content's elements around the text's blocks: office:body, office:text.
constexpr std::string_view kTextPath[] = {"body", "text"};

void refuseEncrypted(package::ZipPackage& zip)
{
    std::optional<std::string> manifest = zip.read(kManifest);
    if (!manifest)
        return;
    const XmlDocument document(std::move(*manifest), kManifest);
    for (pugi::xml_node entry : package::descendantsNamed(document.root(), "file-entry"))
        if (attributeValue(entry, "full-path") == "content.xml" && childNamed(entry, "encryption-data"))
            throw PackageError("the document is encrypted with a password, so its text cannot be read");
}

OpenDocument readPackage(package::ZipPackage& zip, std::string_view bytes, std::vector<std::string>& warnings)
{
    package::requireKind(bytes, package::PackageKind::OpenText, "an OpenDocument text");
    refuseEncrypted(zip);
    OpenDocument document;
    std::shared_ptr<package::ZipPackage::Stream> content = zip.stream("content.xml");
    if (!content)
        throw PackageError("the package holds no OpenDocument content (content.xml)");
    document.content = std::make_unique<XmlBlocks>(
        [content](char* buffer, std::size_t size) { return content->read(buffer, size); }, "content.xml", kTextPath);
    try {
        if (std::optional<std::string> styles = zip.read("styles.xml"))
            document.styles = std::make_unique<XmlDocument>(std::move(*styles), "styles.xml");
    } catch (const PackageError& error) {
        warnings.push_back(std::string("the document's list and heading numbers were left out: ") + error.what());
    }
    return document;
}

// A flat document, whose bytes are its content.
std::unique_ptr<XmlBlocks> flatContent(std::string_view bytes)
{
    return std::make_unique<XmlBlocks>(
        [bytes](char* buffer, std::size_t size) mutable {
            const std::size_t n = std::min(size, bytes.size());
            std::copy_n(bytes.data(), n, buffer);
            bytes.remove_prefix(n);
            return n;
        },
        "the document", kTextPath);
}

}  // namespace

Result odtToText(std::string_view bytes, const Options& options)
{
    return package::readGuarded([&] {
        std::vector<std::string> warnings;
        std::optional<package::ZipPackage> zip;
        OpenDocument document;
        if (package::ZipPackage::hasSignature(bytes)) {
            zip.emplace(bytes);
            document = readPackage(*zip, bytes, warnings);
        } else {
            document.content = flatContent(bytes);
        }
        odt::ListStyles lists;
        if (document.styles)
            for (const char* container : {"styles", "automatic-styles"})
                lists.read(childNamed(document.styles->root(), container));
        package::TextBuilder out;
        odt::OdtText writer(out, lists);
        XmlBlocks& content = *document.content;
        bool stylesRead = false, automaticStylesRead = false;
        for (pugi::xml_node block = content.next(); block; block = content.next()) {
            if (content.depth() == std::size(kTextPath)) {
                writer.writeBlock(block);
                out.handOn(options);
                continue;
            }
            // The content's own styles come before its body.
            const std::string_view name = package::localName(block);
            bool& read = name == "styles" ? stylesRead : automaticStylesRead;
            if (content.depth() == 0 && (name == "styles" || name == "automatic-styles") && !std::exchange(read, true))
                lists.read(block);
        }
        if (!content.foundPath())
            throw PackageError("the file holds no OpenDocument text (it may be a spreadsheet, a drawing or no "
                               "OpenDocument at all)");
        writer.writeNotes();
        if (options.progress)
            options.progress(100);
        for (std::string& damage : content.damage("the document"))
            warnings.push_back(std::move(damage));
        Result result = out.take();
        result.warnings = std::move(warnings);
        return result;
    });
}

}  // namespace leafmill::extract
