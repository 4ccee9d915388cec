#pragma once

#include <string>
#include <vector>

namespace leafmill::extract::package {
class ZipPackage;
}

namespace leafmill::extract::epub {

// The parts of a book that the text comes from: the documents of the spine
// in reading order (each once), and the table of contents.
struct EpubPackage {
    std::vector<std::string> spine;  // part names, those marked linear="no" after the others
    std::string navDocument;  // EPUB 3 navigation document, or empty
    std::string ncx;  // EPUB 2 NCX, or empty
};

// Reads the container and the package document. Throws PackageError when the
// book is encrypted, has no package document or no spine document to read;
// spine entries that name nothing, or name a document again, are warnings.
EpubPackage readEpubPackage(package::ZipPackage& zip, std::vector<std::string>& warnings);

}  // namespace leafmill::extract::epub
