#include "extract/layout/RunningLines.h"

#include <algorithm>
#include <functional>
#include <string>
#include <string_view>

namespace leafmill::extract::layout {

namespace {

// How many lines from each edge of a page may be running lines.
constexpr std::size_t edgeLines = 2;
// A line on fewer pages may be the text itself: a short document repeats
// its words as often as its running lines.
constexpr std::size_t leastPages = 3;

// The indexes of the lines nearest the top and the bottom edge of a page.
std::vector<std::size_t> edgeLinesOf(const std::vector<Line>& lines)
{
    std::vector<std::size_t> order(lines.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return lines[a].top < lines[b].top; });
    if (order.size() <= 2 * edgeLines)
        return order;
    std::vector<std::size_t> edges(order.begin(), order.begin() + edgeLines);
    edges.insert(edges.end(), order.end() - edgeLines, order.end());
    return edges;
}

// The text with white space collapsed: how a running line is recognised.
std::string collapsed(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == ' ' || c == '\t') {
            if (!out.empty() && out.back() != ' ')
                out += ' ';
        } else {
            out += c;
        }
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

// The text with its n-th number replaced by '#', and that number; false when
// the text has fewer numbers.
bool withNumberOut(const std::string& text, std::size_t n, std::string& key, std::int64_t& number)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            continue;
        std::size_t end = i;
        while (end < text.size() && text[end] >= '0' && text[end] <= '9')
            ++end;
        if (seen++ == n) {
            if (end - i > 9)
                return false;
            number = std::stoll(text.substr(i, end - i));
            key = text.substr(0, i) + '#' + text.substr(end);
            return true;
        }
        i = end;
    }
    return false;
}

std::uint64_t mixed(std::uint64_t value)
{
    value ^= value >> 30;
    value *= 0xBF58476D1CE4E5B9ULL;
    value ^= value >> 27;
    value *= 0x94D049BB133111EBULL;
    return value ^ (value >> 31);
}

// A text, which of its numbers is left out (or none) and that number's
// distance to the page index, as one number: two keys alike by chance are
// one in billions of billions.
std::uint64_t keyOf(std::string_view text, std::uint64_t numberIndex, std::int64_t distance)
{
    const std::uint64_t hash = std::hash<std::string_view> {}(text);
    return mixed(mixed(hash ^ mixed(numberIndex)) ^ static_cast<std::uint64_t>(distance));
}

// The lines but those at `indexes` (in increasing order).
std::vector<Line> withoutLines(std::vector<Line> lines, const std::vector<std::size_t>& indexes)
{
    std::vector<Line> kept;
    kept.reserve(lines.size());
    for (std::size_t i = 0, next = 0; i < lines.size(); ++i) {
        if (next < indexes.size() && indexes[next] == i)
            ++next;
        else
            kept.push_back(std::move(lines[i]));
    }
    return kept;
}

}  // namespace

void RunningLines::addPage(const std::vector<Line>& lines)
{
    const std::size_t page = lineCounts_.size();
    lineCounts_.push_back(static_cast<std::uint32_t>(lines.size()));
    pagesWithText_ += lines.empty() ? 0 : 1;
    const auto count = [&](std::uint64_t key) {
        keys_.push_back(key);
        Seen& seen = pagesOf_[key];
        if (seen.lastPage != page)
            ++seen.pages;
        seen.lastPage = page;
    };
    for (std::size_t i : edgeLinesOf(lines)) {
        const std::string text = collapsed(lines[i].text);
        count(keyOf(text, SIZE_MAX, 0));
        std::string key;
        std::int64_t number = 0;
        for (std::size_t n = 0; withNumberOut(text, n, key, number); ++n)
            count(keyOf(key, n, number - static_cast<std::int64_t>(page)));
        edges_.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(keys_.size())});
    }
    edgesEnd_.push_back(edges_.size());
}

std::size_t RunningLines::neededPages() const
{
    // More than half of the pages with text, and three at least.
    return std::max(leastPages, pagesWithText_ / 2 + 1);
}

std::vector<std::size_t> RunningLines::of(std::size_t page) const
{
    std::vector<std::size_t> running;
    const std::size_t needed = neededPages();
    if (pagesWithText_ < needed)
        return running;
    std::size_t edge = page == 0 ? 0 : edgesEnd_[page - 1];
    std::size_t key = edge == 0 ? 0 : edges_[edge - 1].keysEnd;
    for (; edge < edgesEnd_[page]; ++edge) {
        bool isRunning = false;
        for (; key < edges_[edge].keysEnd; ++key)
            isRunning = isRunning || pagesOf_.at(keys_[key]).pages >= needed;
        if (isRunning)
            running.push_back(edges_[edge].line);
    }
    // A page whose lines all look running keeps them: they are its text.
    if (running.size() == lineCounts_[page])
        return {};
    std::sort(running.begin(), running.end());
    return running;
}

void removeRunningLines(std::vector<std::vector<Line>>& pages)
{
    RunningLines finder;
    for (const std::vector<Line>& lines : pages)
        finder.addPage(lines);
    for (std::size_t p = 0; p < pages.size(); ++p)
        pages[p] = withoutLines(std::move(pages[p]), finder.of(p));
}

}  // namespace leafmill::extract::layout
