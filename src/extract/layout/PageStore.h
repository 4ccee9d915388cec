#pragma once

#include "extract/layout/PageLines.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

namespace leafmill::extract::layout {

// The lines of every page of a document, held from the time each page is
// laid out until its paragraphs are joined: the texts of a page's lines one
// after another and their boxes beside them, in blocks of 256 KB. Each
// block that fills goes to a temporary file of the system's (gone when it is
// closed) and is read back a block at a time, the pages being asked for in
// order, so that a long document's lines never take the memory its text
// would; where no such file can be written the blocks stay in memory.
class PageStore {
public:
    // The file failed to give back what it was given.
    struct Unreadable : std::runtime_error {
        using std::runtime_error::runtime_error;
    };

    PageStore();
    ~PageStore();
    PageStore(const PageStore&) = delete;
    PageStore& operator=(const PageStore&) = delete;

    void add(const std::vector<Line>& lines);

    std::size_t pageCount() const { return pages_.size(); }
    // The lines kept.
    std::size_t lineCount(std::size_t page) const;
    // The bytes of the page's text, its lines left out too.
    std::size_t textSize(std::size_t page) const { return pages_[page].textSize; }
    // The lines kept; throws Unreadable when the file fails them.
    std::vector<Line> lines(std::size_t page);

    // Leaves out the page's lines at these indexes (in increasing order);
    // once a page.
    void remove(std::size_t page, const std::vector<std::size_t>& indexes);

private:
    struct StoredLine {
        double left, top, right, bottom, firstWordWidth;
        std::uint32_t textEnd;  // where the line's text ends in its page's text
        std::int8_t rotation;
        bool rightToLeft;
    };
    struct Page {
        std::size_t block = 0;
        std::size_t at = 0;  // where its boxes start in the block, its texts after them
        std::uint32_t lineCount = 0;
        std::uint32_t textSize = 0;
        std::size_t removedStart = 0, removedEnd = 0;  // its lines left out, in removed_
    };
    struct Block {
        std::unique_ptr<char[]> bytes;  // null once in the file
        std::uint64_t fileOffset = 0;
        std::size_t size = 0, used = 0;
    };
    struct CloseFile {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    // Room for `size` bytes in the last block, or in a new one.
    char* room(std::size_t size);
    // Moves the block's bytes to the file, where there is one.
    bool spill(Block& block);
    // The bytes of the block, read back from the file when they are there.
    const char* bytesOf(std::size_t block);

    std::vector<Page> pages_;
    std::vector<Block> blocks_;
    std::vector<std::uint32_t> removed_;
    std::unique_ptr<std::FILE, CloseFile> file_;
    bool fileFailed_ = false;
    std::uint64_t fileSize_ = 0;
    std::size_t readBlock_ = SIZE_MAX;  // the block in readBytes_
    std::unique_ptr<char[]> readBytes_;
    std::size_t readSize_ = 0;
};

}  // namespace leafmill::extract::layout
