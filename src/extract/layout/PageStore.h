#pragma once

#include "extract/layout/PageLines.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace leafmill::extract::layout {

// The lines of every page of a document, held from the time each page is
// laid out until its paragraphs are joined: the texts of a page's lines in
// one string and their boxes beside it, a quarter of what the lines take as
// they are, and given back page by page as the text is joined.
class PageStore {
public:
    void add(const std::vector<Line>& lines);

    std::size_t pageCount() const { return pages_.size(); }
    std::size_t lineCount(std::size_t page) const { return pages_[page].lines.size(); }
    std::size_t textSize(std::size_t page) const { return pages_[page].text.size(); }
    std::vector<Line> lines(std::size_t page) const;

    // Leaves out the page's lines at these indexes (in increasing order).
    void remove(std::size_t page, const std::vector<std::size_t>& indexes);
    // Frees the page's lines (it has none after): how many bytes.
    std::size_t release(std::size_t page);

private:
    struct StoredLine {
        double left, top, right, bottom, firstWordWidth;
        std::uint32_t textEnd;  // where the line's text ends in its page's text
        std::int8_t rotation;
        bool rightToLeft;
    };
    struct Page {
        std::string text;
        std::vector<StoredLine> lines;
    };
    static Page stored(const std::vector<Line>& lines);

    std::vector<Page> pages_;
};

}  // namespace leafmill::extract::layout
