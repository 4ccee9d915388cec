#include "extract/markup/HtmlHeadings.h"

#include "extract/common/HtmlEntities.h"
#include "text/AsciiCase.h"

#include <cctype>

namespace leafmill::extract {

namespace {

// Longer headings are looked for by their start only.
constexpr std::size_t kSearchedBytes = 48;
constexpr std::size_t kTitleBytes = 120;
// Headings whose words never show in the text are each looked for through
// the rest of it; past this many times the text's length the rest of the
// headings are not looked for.
constexpr std::size_t kSearchRounds = 64;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

// The heading's words: tags removed, references decoded, blanks squeezed.
std::string headingWords(std::string_view inner)
{
    std::string plain;
    bool inTag = false;
    for (char c : inner) {
        if (c == '<')
            inTag = true;
        else if (c == '>')
            inTag = false;
        else if (!inTag)
            plain.push_back(c);
    }
    std::string decoded;
    appendDecodingReferences(plain, decoded);
    std::string words;
    for (char c : decoded) {
        if (isSpace(c)) {
            if (!words.empty() && words.back() != ' ')
                words.push_back(' ');
        } else {
            words.push_back(c);
        }
    }
    while (!words.empty() && words.back() == ' ')
        words.pop_back();
    return words;
}

// Cut at a character start within `limit` bytes.
std::string utf8Prefix(const std::string& text, std::size_t limit)
{
    if (text.size() <= limit)
        return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    return text.substr(0, end);
}

}  // namespace

std::vector<Chapter> htmlHeadings(std::string_view markup, std::string_view text)
{
    std::vector<Chapter> chapters;
    std::size_t searchFrom = 0;
    std::size_t unfoundSearches = 0;
    for (std::size_t at = markup.find('<'); at != std::string_view::npos; at = markup.find('<', at + 1)) {
        if (at + 3 > markup.size() || asciiLower(markup[at + 1]) != 'h')
            continue;
        const char level = markup[at + 2];
        if (level < '1' || level > '3'
            || (at + 3 < markup.size() && std::isalnum(static_cast<unsigned char>(markup[at + 3]))))
            continue;
        const std::size_t open = markup.find('>', at);
        if (open == std::string_view::npos)
            break;
        const std::string closing = std::string("</h") + level;
        const std::size_t close = findNoCase(markup, closing, open);
        if (close == std::string_view::npos)
            break;
        const std::string words = headingWords(markup.substr(open + 1, close - open - 1));
        at = close;
        if (words.empty())
            continue;
        const std::size_t found = text.find(utf8Prefix(words, kSearchedBytes), searchFrom);
        if (found == std::string_view::npos) {
            unfoundSearches += text.size() - searchFrom;
            if (unfoundSearches > kSearchRounds * (text.size() + 1))
                break;
            continue;
        }
        // The line start only back to where the last heading was found: many
        // headings on one line cost no more than one.
        const std::size_t lineStart = text.substr(searchFrom, found - searchFrom).rfind('\n');
        const std::size_t offset = lineStart == std::string_view::npos ? found : searchFrom + lineStart + 1;
        chapters.push_back({utf8Prefix(words, kTitleBytes), offset, level - '0'});
        searchFrom = found + 1;
    }
    return chapters;
}

}  // namespace leafmill::extract
