#include "extract/epub/EpubToText.h"

#include "extract/epub/EpubPackage.h"
#include "extract/markup/BookText.h"
#include "extract/markup/EpubToc.h"
#include "extract/package/PackageReading.h"
#include "extract/package/ZipPackage.h"

namespace leafmill::extract {

Result epubToText(std::string_view bytes, const Options& options)
{
    return package::readGuarded([&] {
        package::ZipPackage zip(bytes, options.release);
        std::vector<std::string> warnings;
        const epub::EpubPackage book = epub::readEpubPackage(zip, warnings);
        const epub::Toc toc = epub::readToc(zip, book.navDocument, book.ncx, warnings);
        return epub::bookText([&](const std::string& part) { return zip.read(part); }, book.spine, toc,
                              std::move(warnings), options);
    });
}

}  // namespace leafmill::extract
