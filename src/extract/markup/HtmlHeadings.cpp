#include "extract/markup/HtmlHeadings.h"

#include "extract/common/HtmlEntities.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <cctype>

namespace leafmill::extract {

namespace {

// The markup held for one heading while its end tag is looked for; the
// words of a longer heading are taken from this much of it.
constexpr std::size_t kLongestHeading = std::size_t {1} << 20;

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

}  // namespace

void HtmlHeadings::add(std::string_view piece, std::vector<PageHeading>& found)
{
    if (stopped_)
        return;
    if (held_.empty() && !long_) {
        // Most pieces leave nothing waiting: only what waits is copied.
        held_.assign(piece.substr(scan(piece, false, found)));
        return;
    }
    held_.append(piece);
    held_.erase(0, scan(held_, false, found));
}

void HtmlHeadings::finish(std::vector<PageHeading>& found)
{
    if (!stopped_)
        scan(held_, true, found);
    held_.clear();
}

std::size_t HtmlHeadings::closeLong(std::string_view markup, std::vector<PageHeading>& found)
{
    const std::size_t close = findNoCase(markup, long_->closing, 0);
    if (close == std::string_view::npos) {
        // Room for an end tag that the next piece completes.
        return markup.size() - std::min(markup.size(), long_->closing.size() - 1);
    }
    if (!long_->words.empty())
        found.push_back({std::move(long_->words), long_->level});
    long_.reset();
    // The search goes on after the end tag's "</hN".
    return close + 3;
}

std::size_t HtmlHeadings::scan(std::string_view markup, bool final, std::vector<PageHeading>& found)
{
    if (long_) {
        const std::size_t close = closeLong(markup, found);
        if (long_) {
            stopped_ = final;
            return close;
        }
        markup.remove_prefix(close);
        return close + scan(markup, final, found);
    }
    std::size_t keep = markup.size();  // markup[keep..] waits for more
    for (std::size_t at = markup.find('<'); at != std::string_view::npos; at = markup.find('<', at + 1)) {
        if (!final && at + 3 >= markup.size()) {
            keep = at;
            break;
        }
        if (at + 3 > markup.size() || asciiLower(markup[at + 1]) != 'h')
            continue;
        const char level = markup[at + 2];
        if (level < '1' || level > '3'
            || (at + 3 < markup.size() && std::isalnum(static_cast<unsigned char>(markup[at + 3]))))
            continue;
        const std::size_t open = markup.find('>', at);
        const std::string closing = std::string("</h") + level;
        const std::size_t close = open == std::string_view::npos ? open : findNoCase(markup, closing, open);
        if (close == std::string_view::npos) {
            keep = at;
            if (final || markup.size() - at <= kLongestHeading)
                stopped_ = final;
            else if (open == std::string_view::npos)
                stopped_ = true;  // an opening tag this long is taken as one that never ends
            else {
                // Its words are taken from its start; only its end tag is looked for further.
                long_ = Unclosed {headingWords(markup.substr(open + 1)), level - '0', closing};
                keep = markup.size() - (closing.size() - 1);
            }
            break;
        }
        const std::string words = headingWords(markup.substr(open + 1, close - open - 1));
        at = close;
        if (!words.empty())
            found.push_back({words, level - '0'});
    }
    return keep;
}

}  // namespace leafmill::extract
