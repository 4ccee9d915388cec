#include "extract/layout/PageStore.h"

#include <algorithm>
#include <cstring>

namespace leafmill::extract::layout {

namespace {

// A block is held twice at most (the one filling, the one read back): small
// enough to weigh little beside the library, large enough for few writes.
constexpr std::size_t kBlockBytes = std::size_t {256} << 10;

bool seekTo(std::FILE* file, std::uint64_t offset)
{
#ifdef _WIN32
    return _fseeki64(file, static_cast<__int64>(offset), SEEK_SET) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0;
#endif
}

}  // namespace

PageStore::PageStore() = default;
PageStore::~PageStore() = default;

bool PageStore::spill(Block& block)
{
    if (!file_ && !fileFailed_) {
        file_.reset(std::tmpfile());
        fileFailed_ = !file_;
    }
    // A disk that fills keeps this block and those after in memory.
    if (fileFailed_ || !seekTo(file_.get(), fileSize_)
        || std::fwrite(block.bytes.get(), 1, block.used, file_.get()) != block.used) {
        fileFailed_ = true;
        return false;
    }
    block.fileOffset = fileSize_;
    fileSize_ += block.used;
    return true;
}

char* PageStore::room(std::size_t size)
{
    if (blocks_.empty() || blocks_.back().size - blocks_.back().used < size) {
        Block next;
        next.size = std::max(size, kBlockBytes);
        if (!blocks_.empty() && spill(blocks_.back())) {
            Block& full = blocks_.back();
            if (full.size >= next.size) {
                next.size = full.size;
                next.bytes = std::move(full.bytes);
            }
            full.bytes.reset();
        }
        if (!next.bytes)
            next.bytes = std::make_unique_for_overwrite<char[]>(next.size);
        blocks_.push_back(std::move(next));
    }
    Block& block = blocks_.back();
    char* at = block.bytes.get() + block.used;
    block.used += size;
    return at;
}

void PageStore::add(const std::vector<Line>& lines)
{
    Page page;
    std::size_t textSize = 0;
    for (const Line& line : lines)
        textSize += line.text.size();
    page.lineCount = static_cast<std::uint32_t>(lines.size());
    page.textSize = static_cast<std::uint32_t>(textSize);
    page.removedStart = page.removedEnd = removed_.size();
    if (!lines.empty()) {
        const std::size_t boxes = lines.size() * sizeof(StoredLine);
        char* at = room(boxes + textSize);
        page.block = blocks_.size() - 1;
        page.at = blocks_.back().used - boxes - textSize;
        std::uint32_t end = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const Line& line = lines[i];
            std::memcpy(at + boxes + end, line.text.data(), line.text.size());
            end += static_cast<std::uint32_t>(line.text.size());
            const StoredLine stored {line.left,
                                     line.top,
                                     line.right,
                                     line.bottom,
                                     line.firstWordWidth,
                                     end,
                                     static_cast<std::int8_t>(line.rotation),
                                     line.rightToLeft};
            std::memcpy(at + i * sizeof(StoredLine), &stored, sizeof stored);
        }
    }
    pages_.push_back(page);
}

std::size_t PageStore::lineCount(std::size_t page) const
{
    const Page& stored = pages_[page];
    return stored.lineCount - (stored.removedEnd - stored.removedStart);
}

const char* PageStore::bytesOf(std::size_t index)
{
    const Block& block = blocks_[index];
    if (block.bytes)
        return block.bytes.get();
    if (readBlock_ != index) {
        if (readSize_ < block.used) {
            readBytes_ = std::make_unique_for_overwrite<char[]>(block.used);
            readSize_ = block.used;
        }
        readBlock_ = SIZE_MAX;
        if (!seekTo(file_.get(), block.fileOffset)
            || std::fread(readBytes_.get(), 1, block.used, file_.get()) != block.used)
            throw Unreadable("the document's pages could not be read back from a temporary file");
        readBlock_ = index;
    }
    return readBytes_.get();
}

std::vector<Line> PageStore::lines(std::size_t page)
{
    const Page& stored = pages_[page];
    std::vector<Line> lines;
    if (stored.lineCount == 0)
        return lines;
    lines.reserve(lineCount(page));
    const char* boxes = bytesOf(stored.block) + stored.at;
    const char* text = boxes + stored.lineCount * sizeof(StoredLine);
    std::uint32_t start = 0;
    for (std::uint32_t i = 0, next = 0; i < stored.lineCount; ++i) {
        StoredLine line;
        std::memcpy(&line, boxes + i * sizeof(StoredLine), sizeof line);
        if (stored.removedStart + next < stored.removedEnd && removed_[stored.removedStart + next] == i)
            ++next;
        else
            lines.push_back(Line {std::string(text + start, line.textEnd - start), line.left, line.top, line.right,
                                  line.bottom, line.firstWordWidth, line.rotation, line.rightToLeft});
        start = line.textEnd;
    }
    return lines;
}

void PageStore::remove(std::size_t page, const std::vector<std::size_t>& indexes)
{
    Page& stored = pages_[page];
    stored.removedStart = removed_.size();
    for (std::size_t index : indexes)
        removed_.push_back(static_cast<std::uint32_t>(index));
    stored.removedEnd = removed_.size();
}

}  // namespace leafmill::extract::layout
