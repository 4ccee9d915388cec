#pragma once

#include <map>
#include <string>
#include <vector>

namespace leafmill::extract::package {
class ZipPackage;
}

namespace leafmill::extract::docx {

// The parts of a Word document that its text comes from, found through the
// package's relationships (with the usual names when those are missing).
struct WordPackage {
    std::string document;  // "word/document.xml"
    // The main document's related parts by relationship kind ("styles",
    // "numbering", "footnotes", "endnotes", "settings"); headers, footers
    // and comments are never read.
    std::map<std::string, std::string, std::less<>> related;
    // Documents embedded whole (altChunk), by relationship id: the part and
    // the ending of its kind as a source (".htm", ".rtf", ".txt", "docx"),
    // empty for a kind no reader takes (a web archive, say).
    struct Chunk {
        std::string part;
        std::string ending;
    };
    std::map<std::string, Chunk, std::less<>> chunks;
};

// Throws PackageError when the package has no main document.
WordPackage readWordPackage(package::ZipPackage& zip, std::vector<std::string>& warnings);

}  // namespace leafmill::extract::docx
