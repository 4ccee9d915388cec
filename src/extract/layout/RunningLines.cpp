#include "extract/layout/RunningLines.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>

namespace leafmill::extract::layout {

namespace {

// How many lines from each edge of a page may be running lines.
constexpr std::size_t edgeLines = 2;
// A line on fewer pages may be the text itself: a short document repeats
// its words as often as its running lines.
constexpr std::size_t leastPages = 3;

struct Candidate {
    std::size_t page;
    std::size_t line;
};

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

}  // namespace

void removeRunningLines(std::vector<std::vector<Line>>& pages)
{
    std::size_t pagesWithText = 0;
    for (const auto& lines : pages)
        pagesWithText += lines.empty() ? 0 : 1;
    // More than half of the pages with text, and three at least.
    const std::size_t needed = std::max(leastPages, pagesWithText / 2 + 1);
    if (pagesWithText < needed)
        return;

    // Same text, or same text around a number that keeps its distance to the
    // page index: (text, which number, that distance) -> lines.
    std::map<std::tuple<std::string, std::size_t, std::int64_t>, std::vector<Candidate>> groups;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        for (std::size_t i : edgeLinesOf(pages[p])) {
            const std::string text = collapsed(pages[p][i].text);
            groups[{text, SIZE_MAX, 0}].push_back({p, i});
            std::string key;
            std::int64_t number = 0;
            for (std::size_t n = 0; withNumberOut(text, n, key, number); ++n)
                groups[{key, n, number - static_cast<std::int64_t>(p)}].push_back({p, i});
        }
    }

    std::vector<std::set<std::size_t>> doomed(pages.size());
    for (const auto& [key, lines] : groups) {
        std::set<std::size_t> onPages;
        for (const Candidate& c : lines)
            onPages.insert(c.page);
        if (onPages.size() >= needed)
            for (const Candidate& c : lines)
                doomed[c.page].insert(c.line);
    }
    for (std::size_t p = 0; p < pages.size(); ++p) {
        // A page whose lines all look running keeps them: they are its text.
        if (doomed[p].size() == pages[p].size())
            continue;
        std::vector<Line> kept;
        kept.reserve(pages[p].size());
        for (std::size_t i = 0; i < pages[p].size(); ++i)
            if (!doomed[p].contains(i))
                kept.push_back(std::move(pages[p][i]));
        pages[p] = std::move(kept);
    }
}

}  // namespace leafmill::extract::layout
