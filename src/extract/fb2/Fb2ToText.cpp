#include "extract/fb2/Fb2ToText.h"

#include "extract/fb2/Fb2Text.h"
#include "extract/package/PackageReading.h"
#include "extract/package/TextBuilder.h"
#include "extract/package/XmlDocument.h"
#include "extract/package/ZipPackage.h"
#include "text/AsciiCase.h"
#include "text/CodePage.h"

#include <algorithm>

namespace leafmill::extract {

namespace {

// The encoding the XML declaration names ("windows-1251"), lower-cased;
// empty without one.
std::string declaredEncoding(std::string_view bytes)
{
    if (!bytes.starts_with("<?xml"))
        return {};
    const std::string declaration = asciiLowered(bytes.substr(0, std::min<std::size_t>(bytes.find("?>"), 256)));
    const std::size_t name = declaration.find("encoding");
    const std::size_t open = declaration.find_first_of("\"'", name);
    if (name == std::string::npos || open == std::string::npos)
        return {};
    const std::size_t close = declaration.find(declaration[open], open + 1);
    return close == std::string::npos ? std::string() : declaration.substr(open + 1, close - open - 1);
}

// The book as XML the parser reads: UTF-8, or UTF-16 and UTF-32 with their
// marks, which it reads itself. Books in Russia are often in windows-1251.
std::string utf8Xml(std::string bytes, std::vector<std::string>& warnings)
{
    const std::string label = declaredEncoding(bytes);
    if (label.empty() || label == "utf-8" || label == "utf8")
        return bytes;
    const auto page = CodePage::open(label);
    if (!page) {
        warnings.push_back("the book declares the unknown encoding \"" + label + "\"; it is read as UTF-8");
        return bytes;
    }
    std::string text = page->toUtf8(bytes);
    // The declaration would have the parser read the UTF-8 in its encoding again.
    const std::size_t end = text.find("?>");
    text.erase(0, end == std::string::npos ? 0 : end + 2);
    return text;
}

// The first .fb2 file of a zipped book.
std::string unzippedBook(std::string_view bytes)
{
    package::ZipPackage zip(bytes);
    for (const std::string& name : zip.names())
        if (name.size() > 4 && equalsNoCase(std::string_view(name).substr(name.size() - 4), ".fb2"))
            if (std::optional<std::string> book = zip.read(name))
                return std::move(*book);
    throw package::PackageError("the zip file holds no FictionBook (.fb2) file");
}

}  // namespace

Result fb2ToText(std::string_view bytes, const Options& options)
{
    return package::readGuarded([&] {
        std::vector<std::string> warnings;
        std::string xml = package::ZipPackage::hasSignature(bytes) ? unzippedBook(bytes) : std::string(bytes);
        const package::XmlDocument document(utf8Xml(std::move(xml), warnings), "FictionBook");
        if (package::localName(document.root()) != "FictionBook")
            throw package::PackageError("the file is no FictionBook: its XML is <"
                                        + std::string(package::localName(document.root())) + ">");
        if (!document.complete())
            warnings.push_back("the book breaks off (damaged XML); it was read up to the damage");
        package::TextBuilder out;
        fb2::Fb2Text(out, options).write(document.root());
        if (out.size() == 0)
            throw package::PackageError("the book holds no text");
        Result result = out.take();
        result.warnings = std::move(warnings);
        return result;
    });
}

}  // namespace leafmill::extract
