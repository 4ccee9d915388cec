#pragma once

#include "extract/layout/OutlineChapters.h"
#include "extract/layout/PageLines.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::pdf {

using layout::OutlineEntry;
using layout::Word;

// A PDF opened through the PDF library, which no other file sees. The bytes
// must outlive the document: the library reads them in place.
class PdfDocument {
public:
    ~PdfDocument();
    PdfDocument(PdfDocument&&) noexcept;

    // The document, or null with `reason` set: not a PDF the library can
    // repair, or one that needs a password to open.
    static std::unique_ptr<PdfDocument> open(std::string_view bytes, std::string& reason);

    int pageCount() const;
    // The page's words in reading order; empty for a page without a text
    // layer (or one the library could not read). `*cutShort` tells a page
    // read only in part, as it draws more than any page does. Pages are meant
    // to be asked for in order: a page asked for again, or one before it,
    // costs opening the document anew.
    std::vector<Word> pageWords(int index, bool* cutShort = nullptr) const;
    // The bookmarks, depth first, at most `limit` of them.
    std::vector<OutlineEntry> outline(std::size_t limit) const;

private:
    struct Impl;
    explicit PdfDocument(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace leafmill::extract::pdf
