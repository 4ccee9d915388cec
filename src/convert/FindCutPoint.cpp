#include "convert/FindCutPoint.h"

#include "text/CodePage.h"

#include <algorithm>
#include <array>

namespace leafmill {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kNone = std::string_view::npos;

struct WideEnd {
    std::string_view utf8;
    char asciiMark;
};

constexpr std::array<WideEnd, 6> kWideEnds = {{
    {"。", '.'},
    {"．", '.'},
    {"｡", '.'},
    {"！", '!'},
    {"？", '?'},
    {"；", ';'},
}};
constexpr std::array<std::string_view, 3> kClosingQuotes = {"」", "』", "”"};

// Where `word` first starts in the window at a character start, or kNone.
std::size_t firstOccurrence(std::string_view bytes, std::size_t windowStart, std::string_view window,
                            std::string_view word, const CodePage& codePage)
{
    for (std::size_t at = window.find(word); at != kNone; at = window.find(word, at + 1))
        if (codePage.isCharStart(bytes, windowStart + at))
            return at;
    return kNone;
}

// The first line end wholly inside the window: a CR LF, or a LF without a CR
// before it (a LF whose CR lies before the window is not one).
std::size_t firstLineEnd(std::string_view bytes, std::size_t windowStart, std::string_view window)
{
    for (std::size_t at = window.find('\n'); at != kNone; at = window.find('\n', at + 1)) {
        if (at > 0 && window[at - 1] == '\r')
            return at - 1;
        if (windowStart + at == 0 || bytes[windowStart + at - 1] != '\r')
            return at;
    }
    return kNone;
}

// Behind a sentence end at `at` and the closing quotes that follow it in the window.
std::size_t behindSentenceEnd(std::string_view window, std::size_t at, std::size_t size, const CutRules& rules)
{
    std::size_t end = at + size;
    for (bool more = true; more;) {
        more = false;
        for (const std::string& quote : rules.closingQuotes)
            if (window.substr(end, quote.size()) == quote && end + quote.size() <= window.size()) {
                end += quote.size();
                more = true;
            }
    }
    return end;
}

}  // namespace

void addWideSentenceEnds(CutRules& rules, const CodePage& codePage)
{
    // A mark the code page cannot hold would come out as '?'.
    const auto held = [&](std::string_view utf8) {
        const std::string bytes = codePage.fromUtf8(utf8);
        return codePage.toUtf8(bytes) == utf8 ? bytes : std::string();
    };
    for (const WideEnd& end : kWideEnds)
        if (std::string bytes = held(end.utf8); !bytes.empty())
            rules.sentenceEnds.push_back({std::move(bytes), end.asciiMark});
    for (std::string_view quote : kClosingQuotes)
        if (std::string bytes = held(quote); !bytes.empty())
            rules.closingQuotes.push_back(std::move(bytes));
}

std::size_t FindCutPoint(std::string_view bytes, std::size_t windowStart, std::size_t windowEnd, const CutRules& rules,
                         const CodePage& codePage)
{
    const std::string_view window = bytes.substr(windowStart, windowEnd - windowStart);
    for (const std::string& word : rules.cutWords) {
        // A cleared entry is no word; the ones after it still count.
        if (word.empty())
            continue;
        if (word == kLineEnd) {
            const std::size_t at = firstLineEnd(bytes, windowStart, window);
            if (at != kNone)
                return window.find('\n', at) + 1;
            continue;
        }
        std::size_t at = firstOccurrence(bytes, windowStart, window, word, codePage);
        std::size_t behind = at == kNone ? kNone : at + word.size();
        for (const WideSentenceEnd& end : rules.sentenceEnds) {
            if (word.size() != 1 || word[0] != end.asciiMark)
                continue;
            const std::size_t wide = firstOccurrence(bytes, windowStart, window, end.bytes, codePage);
            if (wide < at) {
                at = wide;
                behind = behindSentenceEnd(window, wide, end.bytes.size(), rules);
            }
        }
        if (at != kNone)
            return behind;
    }
    // Text without blanks ends its page after its last sentence in the window.
    std::size_t last = 0;
    for (const WideSentenceEnd& end : rules.sentenceEnds)
        for (std::size_t at = window.rfind(end.bytes); at != kNone;
             at = at > 0 ? window.rfind(end.bytes, at - 1) : kNone)
            if (codePage.isCharStart(bytes, windowStart + at)) {
                last = std::max(last, behindSentenceEnd(window, at, end.bytes.size(), rules));
                break;
            }
    return last;
}

}  // namespace leafmill
