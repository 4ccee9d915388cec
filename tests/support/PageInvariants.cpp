#include "PageInvariants.h"
#include "text/CodePage.h"

#include <set>

namespace leafmill::test {

std::string normalisedText(std::string_view source)
{
    std::string text;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const bool lineEnd = source[i] == '\r';
        text += lineEnd ? std::string_view("\r\n") : source.substr(i, 1);
        i += lineEnd && i + 1 < source.size() && source[i + 1] == '\n';
    }
    if (!text.empty() && !text.ends_with("\n"))
        text += "\r\n";
    return text;
}

namespace {

std::vector<bool> characterStarts(std::string_view text, const CodePage& codePage)
{
    std::vector<bool> starts(text.size() + 1, false);
    for (std::size_t at = 0; at < text.size(); at += codePage.charLength(text, at))
        starts[at] = true;
    starts[text.size()] = true;
    return starts;
}

// Whether the pages lie over the text one after another, each starting on a
// character at most `keep` bytes before the end of the one before.
bool pagesJoin(std::string_view text, const std::vector<std::string>& pages, std::size_t keep,
               const std::vector<bool>& starts)
{
    // Every end the pages so far can have reached; an overlap repeating text may leave several.
    std::set<std::size_t> ends {0};
    bool first = true;
    for (const std::string& page : pages) {
        std::set<std::size_t> next;
        for (const std::size_t end : ends) {
            const std::size_t most = first ? 0 : std::min(keep, end);
            for (std::size_t back = 0; back <= most; ++back) {
                const std::size_t start = end - back;
                if (start + page.size() > text.size() || text.compare(start, page.size(), page) != 0)
                    continue;
                if (!starts[start] || !starts[start + page.size()])
                    continue;
                next.insert(start + page.size());
            }
        }
        if (next.empty())
            return false;
        ends = std::move(next);
        first = false;
    }
    return ends.contains(text.size());
}

}  // namespace

std::string pageCutFault(std::string_view text, const std::vector<std::string>& pages, std::size_t pageSize,
                         std::size_t keep, const CodePage& codePage)
{
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].empty())
            return "page " + std::to_string(i) + " is empty";
        if (pages[i].size() > pageSize)
            return "page " + std::to_string(i) + " holds " + std::to_string(pages[i].size()) + " bytes";
    }
    if (!pagesJoin(text, pages, keep, characterStarts(text, codePage)))
        return "the pages minus their overlaps are not the text, or one splits a character";
    return {};
}

}  // namespace leafmill::test
