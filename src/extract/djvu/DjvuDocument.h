#pragma once

#include "extract/djvu/PageInfo.h"
#include "extract/layout/OutlineChapters.h"
#include "extract/layout/PageLines.h"

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

struct ddjvu_context_s;
struct ddjvu_document_s;

namespace leafmill::extract::djvu {

// A page's height in pixels and the points a pixel measures.
struct PageFrame {
    double height = 0, scale = 1;
};

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
    // from the page's top left corner (where the layer parts the words of
    // its lines by separators, the lines' boxes shared out among their words
    // by characters); none when the page has no text, or when it cannot be
    // decoded (then `*damaged` is set).
    std::vector<layout::Word> pageWords(int index, bool* damaged);
    // The bookmarks, at most `limit` of them.
    std::vector<layout::OutlineEntry> outline(std::size_t limit) const;

private:
    // Which zones of the text layer give a page's words.
    enum class Detail { Unknown, Lines, Words };

    void handleMessages(bool wait) const;
    std::vector<layout::Word> pageText(int index, const char* detail, const PageFrame& frame, bool* damaged) const;
    void readPageSizes(std::string_view bytes, bool singlePage);

    ddjvu_context_s* context_ = nullptr;
    ddjvu_document_s* document_ = nullptr;
    std::vector<std::optional<PageSize>> pageSizes_;  // none where the library is asked
    Detail detail_ = Detail::Unknown;
    int pagesCompared_ = 0;
};

}  // namespace leafmill::extract::djvu
