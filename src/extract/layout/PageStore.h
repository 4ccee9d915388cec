#pragma once

#include "extract/layout/PageLines.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace leafmill::extract::layout {

// The lines of every page of a document, held from the time each page is
// laid out until its paragraphs are joined: the texts of a page's lines one
// after another and their boxes beside them, in blocks of a megabyte given
// back page by page as the text is joined. Apart from the many small blocks
// the layout of each page takes and frees, they leave that heap unbroken
// and quick.
class PageStore {
public:
    PageStore();
    ~PageStore();

    void add(const std::vector<Line>& lines);

    std::size_t pageCount() const { return pages_.size(); }
    std::size_t lineCount(std::size_t page) const { return pages_[page].lineCount; }
    std::size_t textSize(std::size_t page) const { return pages_[page].textSize; }
    std::vector<Line> lines(std::size_t page) const;

    // Leaves out the page's lines at these indexes (in increasing order).
    void remove(std::size_t page, const std::vector<std::size_t>& indexes);
    // Frees the page's lines (it has none after): how many bytes that gave
    // back, once every page in a block is freed.
    std::size_t release(std::size_t page);

private:
    struct StoredLine {
        double left, top, right, bottom, firstWordWidth;
        std::uint32_t textEnd;  // where the line's text ends in its page's text
        std::int8_t rotation;
        bool rightToLeft;
    };
    struct Page {
        StoredLine* lines = nullptr;
        char* text = nullptr;
        std::uint32_t lineCount = 0;
        std::uint32_t textSize = 0;
        std::size_t block = 0;
    };
    struct Block {
        std::unique_ptr<char[]> bytes;
        std::size_t size = 0, used = 0;
        std::size_t lastPage = 0;  // the last page with lines in it
    };
    // Room for `size` bytes in the last block, or in a new one.
    char* room(std::size_t size);

    std::vector<Page> pages_;
    std::vector<Block> blocks_;
};

}  // namespace leafmill::extract::layout
