#pragma once

#include "extract/pdf/PageLines.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::pdf {

// A bookmark of the document's outline, in outline order.
struct OutlineEntry {
    std::string title;  // UTF-8, one line
    int level = 1;
    int page = -1;  // the page it goes to, from 0; -1 when it names none
    std::optional<double> top;  // where on that page, in points from the top, when it says
};

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
    // read only in part, as it draws more than any page does.
    std::vector<Word> pageWords(int index, bool* cutShort = nullptr) const;
    // The bookmarks, depth first, at most `limit` of them.
    std::vector<OutlineEntry> outline(std::size_t limit) const;

private:
    struct Impl;
    explicit PdfDocument(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace leafmill::extract::pdf
