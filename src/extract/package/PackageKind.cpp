#include "extract/package/PackageKind.h"

#include "extract/package/PackageError.h"
#include "extract/package/ZipPackage.h"

#include <string>

namespace leafmill::extract::package {

namespace {

constexpr std::string_view kEpubType = "application/epub+zip";
constexpr std::string_view kOpenTextType = "application/vnd.oasis.opendocument.text";
constexpr std::size_t kMimetypeLength = 100;

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ')
        text.remove_suffix(1);
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ')
        text.remove_prefix(1);
    return text;
}

PackageKind zipKind(std::string_view bytes)
{
    ZipPackage zip(bytes);
    if (const auto mimetype = zip.read("mimetype"); mimetype && mimetype->size() <= kMimetypeLength) {
        const std::string_view type = trimmed(*mimetype);
        if (type == kEpubType)
            return PackageKind::Epub;
        if (type == kOpenTextType)
            return PackageKind::OpenText;
    }
    if (zip.contains("word/document.xml"))
        return PackageKind::Word;
    if (zip.shallowestEndingIn("META-INF/container.xml"))
        return PackageKind::Epub;
    if (zip.contains("content.xml") && zip.contains("META-INF/manifest.xml"))
        return PackageKind::OpenText;
    return PackageKind::None;
}

}  // namespace

PackageKind packageKind(std::string_view bytes)
{
    if (ZipPackage::hasSignature(bytes)) {
        try {
            return zipKind(bytes);
        } catch (const PackageError&) {
            return PackageKind::None;
        }
    }
    const std::string_view head = bytes.substr(0, 16384);
    if (head.find("<office:document") != std::string_view::npos
        && head.find(std::string(kOpenTextType) + "\"") != std::string_view::npos)
        return PackageKind::FlatOpenText;
    return PackageKind::None;
}

void requireKind(std::string_view bytes, PackageKind expected, std::string_view expectedName)
{
    const PackageKind found = packageKind(bytes);
    if (found == expected || found == PackageKind::None)
        return;
    const std::string_view what = found == PackageKind::Epub ? "an EPUB book"
        : found == PackageKind::Word                         ? "a Word document"
                                                             : "an OpenDocument text";
    throw PackageError("the file is " + std::string(what) + ", not " + std::string(expectedName));
}

}  // namespace leafmill::extract::package
