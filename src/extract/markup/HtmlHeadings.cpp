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
    held_.append(piece);
    scan(false, found);
}

void HtmlHeadings::finish(std::vector<PageHeading>& found)
{
    if (!stopped_)
        scan(true, found);
    held_.clear();
}

bool HtmlHeadings::closeLong(std::vector<PageHeading>& found)
{
    const std::size_t close = findNoCase(held_, long_->closing, 0);
    if (close == std::string::npos) {
        // Room for an end tag that the next piece completes.
        held_.erase(0, held_.size() - std::min(held_.size(), long_->closing.size() - 1));
        return false;
    }
    if (!long_->words.empty())
        found.push_back({std::move(long_->words), long_->level});
    long_.reset();
    // The search goes on after the end tag's "</hN".
    held_.erase(0, close + 3);
    return true;
}

void HtmlHeadings::scan(bool final, std::vector<PageHeading>& found)
{
    if (long_ && !closeLong(found)) {
        stopped_ = final;
        return;
    }
    const std::string_view markup = held_;
    std::size_t keep = markup.size();  // held_[keep..] waits for more markup
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
    held_.erase(0, keep);
}

}  // namespace leafmill::extract
