#include "extract/odt/OdtToText.h"

#include "extract/odt/OdtLists.h"
#include "extract/odt/OdtText.h"
#include "extract/package/PackageKind.h"
#include "extract/package/PackageReading.h"
#include "extract/package/TextBuilder.h"
#include "extract/package/XmlDocument.h"
#include "extract/package/ZipPackage.h"

#include <memory>

namespace leafmill::extract {

using package::attributeValue;
using package::childNamed;
using package::PackageError;
using package::XmlDocument;

namespace {

constexpr std::string_view kManifest = "META-INF/manifest.xml";

// The parsed parts of a document: its content and, in a package, its styles.
struct OpenDocument {
    std::unique_ptr<XmlDocument> content;
    std::unique_ptr<XmlDocument> styles;
};

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

OpenDocument readPackage(std::string_view bytes, std::vector<std::string>& warnings)
{
    package::ZipPackage zip(bytes);
    package::requireKind(bytes, package::PackageKind::OpenText, "an OpenDocument text");
    refuseEncrypted(zip);
    OpenDocument document;
    std::optional<std::string> content = zip.read("content.xml");
    if (!content)
        throw PackageError("the package holds no OpenDocument content (content.xml)");
    document.content = std::make_unique<XmlDocument>(std::move(*content), "content.xml");
    try {
        if (std::optional<std::string> styles = zip.read("styles.xml"))
            document.styles = std::make_unique<XmlDocument>(std::move(*styles), "styles.xml");
    } catch (const PackageError& error) {
        warnings.push_back(std::string("the document's list and heading numbers were left out: ") + error.what());
    }
    return document;
}

}  // namespace

Result odtToText(std::string_view bytes, const Options& options)
{
    return package::readGuarded([&] {
        std::vector<std::string> warnings;
        OpenDocument document;
        if (package::ZipPackage::hasSignature(bytes))
            document = readPackage(bytes, warnings);
        else
            document.content = std::make_unique<XmlDocument>(std::string(bytes), "the document");
        odt::ListStyles lists;
        for (const XmlDocument* part : {document.styles.get(), document.content.get()})
            if (part)
                for (const char* container : {"styles", "automatic-styles"})
                    lists.read(childNamed(part->root(), container));
        const pugi::xml_node body = childNamed(childNamed(document.content->root(), "body"), "text");
        if (!body)
            throw PackageError("the file holds no OpenDocument text (it may be a spreadsheet, a drawing or no "
                               "OpenDocument at all)");
        package::TextBuilder out;
        odt::OdtText(out, lists).writeBody(body);
        if (options.progress)
            options.progress(100);
        if (!document.content->complete())
            warnings.push_back("the document breaks off (damaged XML); it was read up to the damage");
        Result result = out.take();
        result.warnings = std::move(warnings);
        return result;
    });
}

}  // namespace leafmill::extract
