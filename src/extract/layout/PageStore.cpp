#include "extract/layout/PageStore.h"

namespace leafmill::extract::layout {

PageStore::Page PageStore::stored(const std::vector<Line>& lines)
{
    Page page;
    std::size_t size = 0;
    for (const Line& line : lines)
        size += line.text.size();
    page.text.reserve(size);
    page.lines.reserve(lines.size());
    for (const Line& line : lines) {
        page.text += line.text;
        page.lines.push_back({line.left, line.top, line.right, line.bottom, line.firstWordWidth,
                              static_cast<std::uint32_t>(page.text.size()), static_cast<std::int8_t>(line.rotation),
                              line.rightToLeft});
    }
    return page;
}

void PageStore::add(const std::vector<Line>& lines)
{
    pages_.push_back(stored(lines));
}

std::vector<Line> PageStore::lines(std::size_t page) const
{
    const Page& stored = pages_[page];
    std::vector<Line> lines;
    lines.reserve(stored.lines.size());
    std::uint32_t start = 0;
    for (const StoredLine& line : stored.lines) {
        lines.push_back(Line {stored.text.substr(start, line.textEnd - start), line.left, line.top, line.right,
                              line.bottom, line.firstWordWidth, line.rotation, line.rightToLeft});
        start = line.textEnd;
    }
    return lines;
}

void PageStore::remove(std::size_t page, const std::vector<std::size_t>& indexes)
{
    if (!indexes.empty())
        pages_[page] = stored(withoutLines(lines(page), indexes));
}

std::size_t PageStore::release(std::size_t page)
{
    const std::size_t bytes = pages_[page].text.capacity() + pages_[page].lines.capacity() * sizeof(StoredLine);
    pages_[page] = Page {};
    return bytes;
}

}  // namespace leafmill::extract::layout
