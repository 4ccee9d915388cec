#include "extract/markup/HeadingPlacement.h"

#include <algorithm>

namespace leafmill::extract {

namespace {

// Longer headings are looked for by their start only.
constexpr std::size_t kSearchedBytes = 48;
constexpr std::size_t kTitleBytes = 120;
// Headings whose words never show in the text are each looked for through
// the rest of it; past this many times the text's length the rest of the
// headings are not looked for.
constexpr std::size_t kSearchRounds = 64;

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

HeadingPlacement::HeadingPlacement(std::size_t reach)
    : reach_(reach)
{
}

void HeadingPlacement::add(PageHeading heading, const Result& result)
{
    if (!stopped_)
        waiting_.push_back({std::move(heading), result.end()});
}

void HeadingPlacement::place(Result& result, const Options& options)
{
    while (!waiting_.empty() && placeFirst(result)) { }
    if (!options.sink)
        return;
    while (result.end() - searchFrom_ > reach_) {
        if (waiting_.empty()) {
            searchFrom_ = result.end() - reach_ / 2;
            searchedTo_ = std::max(searchedTo_, searchFrom_);
            break;
        }
        // A heading whose markup came lately may still find its words in the text to come.
        if (result.end() - waiting_.front().seenAt <= reach_ / 2)
            break;
        leaveOutFirst(result);
        while (!waiting_.empty() && placeFirst(result)) { }
    }
    handOnBefore(result, options, searchFrom_);
}

void HeadingPlacement::finish(Result& result)
{
    while (!waiting_.empty()) {
        if (!placeFirst(result))
            leaveOutFirst(result);
    }
}

bool HeadingPlacement::placeFirst(Result& result)
{
    const PageHeading& heading = waiting_.front().heading;
    const std::string searched = utf8Prefix(heading.words, kSearchedBytes);
    // Words cut by the end of the text so far are looked for again.
    const std::size_t from = std::max(searchFrom_, searchedTo_ - std::min(searchedTo_, searched.size()));
    const std::string_view text = result.text;
    const std::size_t found = text.find(searched, from - result.handedOn);
    if (found == std::string_view::npos) {
        searchedTo_ = result.end();
        return false;
    }
    // The line start only back to where the last heading was found: many
    // headings on one line cost no more than one.
    const std::size_t start = searchFrom_ - result.handedOn;
    const std::size_t lineStart = text.substr(start, found - start).rfind('\n');
    const std::size_t offset = lineStart == std::string_view::npos ? found : start + lineStart + 1;
    result.chapters.push_back({utf8Prefix(heading.words, kTitleBytes), result.handedOn + offset, heading.level});
    searchFrom_ = searchedTo_ = result.handedOn + found + 1;
    waiting_.pop_front();
    return true;
}

void HeadingPlacement::leaveOutFirst(const Result& result)
{
    waiting_.pop_front();
    searchedTo_ = searchFrom_;
    unfoundSearches_ += result.end() - searchFrom_;
    if (unfoundSearches_ > kSearchRounds * (result.end() + 1)) {
        stopped_ = true;
        waiting_.clear();
    }
}

}  // namespace leafmill::extract
