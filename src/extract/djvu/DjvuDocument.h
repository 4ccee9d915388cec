#pragma once

#include "extract/layout/OutlineChapters.h"
#include "extract/layout/PageLines.h"

#include <cstddef>
#include <string_view>
#include <vector>

struct ddjvu_context_s;
struct ddjvu_document_s;

namespace leafmill::extract::djvu {

// A bundled DjVu document read from memory through the DjVu library, which
// no other file sees. Throws PackageError when the bytes are no DjVu
// document the library decodes, or one whose pages live in other files.
class DjvuDocument {
public:
    explicit DjvuDocument(std::string_view bytes);
    ~DjvuDocument();
    DjvuDocument(const DjvuDocument&) = delete;
    DjvuDocument& operator=(const DjvuDocument&) = delete;

    int pageCount() const;
    // The words of a page's hidden text layer with their boxes in points
    // from the page's top left corner; none when the page has no text, or
    // when it cannot be decoded (then `*damaged` is set).
    std::vector<layout::Word> pageWords(int index, bool* damaged) const;
    // The bookmarks, at most `limit` of them.
    std::vector<layout::OutlineEntry> outline(std::size_t limit) const;

private:
    void handleMessages(bool wait) const;

    ddjvu_context_s* context_ = nullptr;
    ddjvu_document_s* document_ = nullptr;
};

}  // namespace leafmill::extract::djvu
