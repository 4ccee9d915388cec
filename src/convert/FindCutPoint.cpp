#include "convert/FindCutPoint.h"

#include "text/CodePage.h"

namespace leafmill {

std::size_t FindCutPoint(std::string_view bytes, std::size_t windowStart, std::size_t windowEnd,
                         const std::vector<std::string>& cutWords, const CodePage& codePage)
{
    const std::string_view window = bytes.substr(windowStart, windowEnd - windowStart);
    for (const std::string& word : cutWords) {
        // A cleared entry is no word; the ones after it still count.
        if (word.empty())
            continue;
        for (std::size_t at = window.find(word); at != std::string_view::npos; at = window.find(word, at + 1)) {
            // A match on the trail byte of a double-byte character is no match.
            if (codePage.isCharStart(bytes, windowStart + at))
                return at + word.size();
        }
    }
    return 0;
}

}  // namespace leafmill
