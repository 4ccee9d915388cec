#include "extract/layout/PageStore.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace leafmill::extract::layout {

namespace {

constexpr std::size_t kBlockBytes = std::size_t {1} << 20;

}  // namespace

PageStore::PageStore() = default;
PageStore::~PageStore() = default;

char* PageStore::room(std::size_t size)
{
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < size) {
        const std::size_t bytes = std::max(size, kBlockBytes);
        blocks_.push_back({std::make_unique_for_overwrite<char[]>(bytes), bytes, 0, pages_.size()});
    }
    Block& block = blocks_.back();
    char* at = block.bytes.get() + block.used;
    block.used += size;
    block.lastPage = pages_.size();
    return at;
}

void PageStore::add(const std::vector<Line>& lines)
{
    std::size_t textSize = 0;
    for (const Line& line : lines)
        textSize += line.text.size();
    // The boxes first, where the block's start keeps them aligned: the
    // texts after them are rounded up to keep the next page's aligned too.
    const std::size_t boxes = lines.size() * sizeof(StoredLine);
    const std::size_t rounded = (textSize + alignof(StoredLine) - 1) / alignof(StoredLine) * alignof(StoredLine);
    Page page;
    if (!lines.empty()) {
        char* at = room(boxes + rounded);
        page.lines = reinterpret_cast<StoredLine*>(at);
        page.text = at + boxes;
        page.block = blocks_.size() - 1;
    }
    std::uint32_t end = 0;
    for (const Line& line : lines) {
        std::memcpy(page.text + end, line.text.data(), line.text.size());
        end += static_cast<std::uint32_t>(line.text.size());
        new (page.lines + page.lineCount++) StoredLine {line.left,
                                                        line.top,
                                                        line.right,
                                                        line.bottom,
                                                        line.firstWordWidth,
                                                        end,
                                                        static_cast<std::int8_t>(line.rotation),
                                                        line.rightToLeft};
    }
    page.textSize = end;
    pages_.push_back(page);
}

std::vector<Line> PageStore::lines(std::size_t page) const
{
    const Page& stored = pages_[page];
    std::vector<Line> lines;
    lines.reserve(stored.lineCount);
    std::uint32_t start = 0;
    for (std::uint32_t i = 0; i < stored.lineCount; ++i) {
        const StoredLine& line = stored.lines[i];
        lines.push_back(Line {std::string(stored.text + start, line.textEnd - start), line.left, line.top, line.right,
                              line.bottom, line.firstWordWidth, line.rotation, line.rightToLeft});
        start = line.textEnd;
    }
    return lines;
}

void PageStore::remove(std::size_t page, const std::vector<std::size_t>& indexes)
{
    // The lines kept move down over those left out, in the page's own room.
    Page& stored = pages_[page];
    std::uint32_t kept = 0, end = 0, start = 0;
    for (std::uint32_t i = 0, next = 0; i < stored.lineCount; ++i) {
        StoredLine line = stored.lines[i];
        const std::uint32_t size = line.textEnd - start;
        if (next < indexes.size() && indexes[next] == i) {
            ++next;
        } else {
            std::memmove(stored.text + end, stored.text + start, size);
            end += size;
            line.textEnd = end;
            stored.lines[kept++] = line;
        }
        start += size;
    }
    stored.lineCount = kept;
    stored.textSize = end;
}

std::size_t PageStore::release(std::size_t page)
{
    Page& stored = pages_[page];
    if (stored.lines == nullptr)
        return 0;
    Block& block = blocks_[stored.block];
    stored = Page {};
    if (block.lastPage != page)
        return 0;
    const std::size_t bytes = block.size;
    block = Block {};
    return bytes;
}

}  // namespace leafmill::extract::layout
