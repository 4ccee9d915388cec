#include "extract/layout/PagedText.h"

#include "extract/layout/Paragraphs.h"
#include "extract/layout/RunningLines.h"

#include <algorithm>

namespace leafmill::extract::layout {

namespace {

// More bookmarks than any book's contents note could show.
constexpr std::size_t outlineLimit = 2000;

// "3", "3-5", "3, 7-9": the pages listed compactly.
std::string pageList(const std::vector<int>& pages)
{
    std::string list;
    for (std::size_t i = 0; i < pages.size();) {
        std::size_t j = i;
        while (j + 1 < pages.size() && pages[j + 1] == pages[j] + 1)
            ++j;
        list += (list.empty() ? "" : ", ") + std::to_string(pages[i]);
        if (j > i)
            list += "-" + std::to_string(pages[j]);
        i = j + 1;
    }
    return list;
}

}  // namespace

Result pagedText(const PagedDocument& document, const Options& options, const PagedRefusals& refusals)
{
    const int count = document.pageCount;
    if (count <= 0)
        return Result::failure(refusals.noPages);
    std::vector<std::vector<Line>> pages;
    pages.reserve(static_cast<std::size_t>(count));
    std::vector<int> withoutText, cutShort;
    for (int i = 0; i < count; ++i) {
        bool cut = false;
        pages.push_back(groupIntoLines(document.pageWords(i, &cut)));
        if (cut)
            cutShort.push_back(i + 1);
        if (pages.back().empty())
            withoutText.push_back(i + 1);
        if (options.progress)
            options.progress((i + 1) * 100 / count);
    }
    if (withoutText.size() == pages.size())
        return Result::failure(refusals.noText);

    Result result;
    removeRunningLines(pages);
    std::vector<Anchor> anchors;
    result.chapters = placeBookmarks(document.outline(outlineLimit), pages, anchors, result.warnings);
    result.text = joinParagraphs(pages, anchors);
    for (std::size_t k = 0; k < anchors.size(); ++k)
        result.chapters[k].offset = anchors[k].offset;
    // Bookmarks need not follow the pages.
    std::stable_sort(result.chapters.begin(), result.chapters.end(),
                     [](const Chapter& a, const Chapter& b) { return a.offset < b.offset; });
    if (!withoutText.empty())
        result.warnings.push_back("page(s) " + pageList(withoutText)
                                  + " have no text layer (scanned pictures?) and are left out");
    if (!cutShort.empty())
        result.warnings.push_back(
            "page(s) " + pageList(cutShort)
            + " draw far more than a page can show (forms within forms?) and were read only in part");
    result.ok = true;
    return result;
}

}  // namespace leafmill::extract::layout
