#pragma once

#include "extract/layout/PageLines.h"

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace leafmill::extract::layout {

// Finds the running headers and footers: lines at the top or the bottom of a
// page whose text comes back on more than half of the pages with text (and
// on three at least), either as it is or with a number that counts along
// with the pages ("Page 7", "- 7 -", "7 of 30"). A book's text keeps its
// chapter headings even when they all read "Chapter N" at the top of a page,
// because their numbers do not follow the pages; a page whose only lines
// look running keeps them. Only a few facts of each page's edge lines are
// kept, so that the pages need not be held to find them.
class RunningLines {
public:
    // The next page's lines, in page order.
    void addPage(const std::vector<Line>& lines);
    // The indexes of the page's running lines, in increasing order, once
    // every page is added.
    std::vector<std::size_t> of(std::size_t page) const;

private:
    struct Edge {
        std::uint32_t line;
        std::uint32_t keysEnd;  // where its keys end in keys_
    };
    struct Seen {
        std::size_t lastPage = SIZE_MAX;
        std::size_t pages = 0;
    };
    std::size_t neededPages() const;

    std::size_t pagesWithText_ = 0;
    std::vector<std::uint32_t> lineCounts_;  // per page
    std::vector<std::size_t> edgesEnd_;  // per page, where its edges end in edges_
    std::vector<Edge> edges_;
    // The texts an edge line is known by, hashed: as it is, and around each
    // of its numbers with that number's distance to the page index.
    std::vector<std::uint64_t> keys_;
    std::unordered_map<std::uint64_t, Seen> pagesOf_;  // key -> on how many pages
};

// Takes out the running headers and footers of these pages.
void removeRunningLines(std::vector<std::vector<Line>>& pages);

}  // namespace leafmill::extract::layout
