#pragma once

#include "extract/package/PartPath.h"

#include <deque>
#include <string>
#include <vector>

namespace leafmill::extract::package {
class ZipPackage;
}

namespace leafmill::extract::epub {

// One entry of a book's table of contents.
struct TocEntry {
    std::string title;
    package::PartLink target;
    int level = 1;
};

// A table of contents in its order. A deque, which never moves what it
// holds: a table of tens of thousands of entries is never held twice over
// as it grows, and it keeps the place of each entry for those who point at it.
using Toc = std::deque<TocEntry>;

// The table of contents from the EPUB 3 navigation document, else from the
// EPUB 2 NCX (part names, empty when the book has none); empty when it has
// neither (or they cannot be read, which is a warning).
Toc readToc(package::ZipPackage& zip, const std::string& navDocument, const std::string& ncx,
            std::vector<std::string>& warnings);

// The entries of an NCX document, `part` naming it for the links inside.
// Throws PackageError when it is no XML.
Toc readNcx(std::string text, const std::string& part);

}  // namespace leafmill::extract::epub
