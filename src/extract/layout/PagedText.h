#pragma once

#include "extract/Extractor.h"
#include "extract/layout/OutlineChapters.h"
#include "extract/layout/PageLines.h"

#include <functional>
#include <string>
#include <vector>

namespace leafmill::extract::layout {

// A page's words; `*cutShort` tells a page that was read only in part.
using PageReader = std::function<std::vector<Word>(int index, bool* cutShort)>;

// A document of printed pages as a reader library gives it.
struct PagedDocument {
    int pageCount = 0;
    PageReader pageWords;
    // The bookmarks, at most that many.
    std::function<std::vector<OutlineEntry>(std::size_t limit)> outline;
};

// A second reader of the same pages that another thread may use at the same
// time, or an empty one.
using AnotherReader = std::function<PageReader()>;

// Why a paged document gives no text, in the words of its kind.
struct PagedRefusals {
    std::string noPages, noText;
};

// The text of a paged document: each page's words gathered into lines,
// running heads and feet left out, the lines joined into paragraphs, the
// bookmarks placed as chapters. Pages without text and pages read only in
// part are warnings; a document without pages or without any text is
// refused for the reason given. Where there is another reader, the machine
// another core and the document enough pages to pay but not so many that
// a second reader's memory would weigh, both lay out pages. The text and
// the chapters go to the options' sink as the pages are joined.
Result pagedText(const PagedDocument& document, const Options& options, const PagedRefusals& refusals,
                 const AnotherReader& anotherReader = {});

}  // namespace leafmill::extract::layout
