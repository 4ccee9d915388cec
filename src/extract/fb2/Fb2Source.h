#pragma once

#include "extract/Extractor.h"
#include "extract/package/XmlBlocks.h"
#include "extract/package/ZipPackage.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::fb2 {

// A FictionBook's XML as UTF-8, a piece at a time, as often as it is read:
// a plain file's bytes (given back to the options' release as they are
// passed), or a zipped book's first .fb2 entry, inflated as it is read. Text
// in the encoding the XML declaration names (windows-1251 is common), or in
// UTF-16 or UTF-32 with a byte-order mark, is decoded as it comes and the
// declaration left out, so that the parser does not read the UTF-8 in that
// encoding again.
class BookSource {
public:
    // Throws PackageError when a zip holds no .fb2 file.
    BookSource(std::string_view bytes, const Options& options);
    BookSource(const BookSource&) = delete;
    BookSource& operator=(const BookSource&) = delete;

    // The XML from its start; it reads this source, which must outlive it.
    package::XmlBlocks::Source read();
    // What was found wrong in the bytes (an unknown encoding).
    const std::vector<std::string>& warnings() const { return warnings_; }

private:
    package::XmlBlocks::Source rawBytes();

    std::string_view bytes_;
    const Options& options_;
    std::unique_ptr<package::ZipPackage> zip_;
    std::string entry_;
    std::vector<std::string> warnings_;
};

}  // namespace leafmill::extract::fb2
