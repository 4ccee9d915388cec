#include "extract/doc/StreamView.h"

#include <algorithm>

namespace leafmill::extract::doc {

void StreamView::append(std::string_view bytes)
{
    if (bytes.empty())
        return;
    if (!runs_.empty()) {
        std::string_view& last = runs_.back().bytes;
        if (last.data() + last.size() == bytes.data()) {
            last = std::string_view(last.data(), last.size() + bytes.size());
            size_ += bytes.size();
            return;
        }
    }
    runs_.push_back({size_, bytes});
    size_ += bytes.size();
}

void StreamView::forEachPart(std::uint64_t offset, std::uint64_t length,
                             const std::function<void(std::string_view)>& visit) const
{
    if (offset >= size_)
        return;
    std::uint64_t end = offset + std::min(length, size_ - offset);
    auto run = std::upper_bound(runs_.begin(), runs_.end(), offset,
                                [](std::uint64_t at, const Run& r) { return at < r.offset; });
    for (--run; offset < end; ++run) {
        const std::uint64_t from = offset - run->offset;
        const std::uint64_t take = std::min<std::uint64_t>(end - offset, run->bytes.size() - from);
        visit(run->bytes.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(take)));
        offset += take;
    }
}

std::string_view StreamView::read(std::uint64_t offset, std::uint64_t length, std::string& scratch) const
{
    std::string_view only;
    std::size_t parts = 0;
    scratch.clear();
    forEachPart(offset, length, [&](std::string_view part) {
        if (++parts == 1) {
            only = part;
            return;
        }
        if (parts == 2)
            scratch.assign(only);
        scratch.append(part);
    });
    return parts > 1 ? std::string_view(scratch) : only;
}

}  // namespace leafmill::extract::doc
