#pragma once

#include "extract/Extractor.h"
#include "extract/layout/PageLines.h"
#include "extract/layout/Paragraphs.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace leafmill::extract::layout {

// A bookmark of a document's outline, in outline order.
struct OutlineEntry {
    std::string title;  // UTF-8, one line
    int level = 1;
    int page = -1;  // the page it goes to, from 0; -1 when it names none
    std::optional<double> top;  // where on that page, in points from the top, when it says
};

// Where the bookmarks' chapters start among the pages' lines. A bookmark
// goes to a page, often to a height on it: the chapter starts at the first
// line from there whose text is the title, compared loosely (letters and
// digits only, any case, a leading "Chapter 1:" or "2.1" aside, over up to
// three lines), else (and for a title of signs alone) at the line where the
// bookmark goes. A bookmark that names no page is looked for after the
// chapter before it, and left out, named in `warnings`, when no line
// matches. `anchors` gets each chapter's line; the chapters' offsets are the
// anchors' once the text is joined.
std::vector<Chapter> placeBookmarks(const std::vector<OutlineEntry>& outline, std::size_t pageCount,
                                    const std::function<std::vector<Line>(std::size_t page)>& linesOf,
                                    std::vector<Anchor>& anchors, std::vector<std::string>& warnings);
// The same for pages held whole.
std::vector<Chapter> placeBookmarks(const std::vector<OutlineEntry>& outline,
                                    const std::vector<std::vector<Line>>& pages, std::vector<Anchor>& anchors,
                                    std::vector<std::string>& warnings);

}  // namespace leafmill::extract::layout
