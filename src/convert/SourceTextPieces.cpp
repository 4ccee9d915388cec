#include "convert/SourceTextPieces.h"

#include "convert/HeadingLines.h"
#include "convert/PreparedSource.h"
#include "text/CodePage.h"

#include <algorithm>

namespace leafmill {

namespace {

// The sink takes the bytes in pieces of at most this size.
constexpr std::size_t kPiece = std::size_t {1} << 20;

void handOver(std::string_view bytes, const SourceSink& sink)
{
    for (std::size_t at = 0; at < bytes.size(); at += kPiece)
        sink.bytes(bytes.substr(at, kPiece));
}

}  // namespace

SourceTextPieces::SourceTextPieces(const CodePage& codePage, const PageTextRules& rules, const SourceSink& sink)
    : codePage_(codePage)
    , rules_(rules)
    , sink_(sink)
{
}

void SourceTextPieces::note(Found& found, std::size_t textOffset)
{
    if (found.firstOffset == std::string::npos)
        found.firstOffset = textOffset;
}

void SourceTextPieces::add(std::string_view utf8, std::span<const extract::Chapter> chapters)
{
    if (const std::size_t start = utf8.find_first_not_of(" \t\r\n");
        textStart_ == std::string::npos && start != std::string::npos)
        textStart_ = textDone_ + start;
    if (!rules_.encoder) {
        handOver(codePage_.fromUtf8(utf8), sink_);
        textDone_ += utf8.size();
        return;
    }
    // Both the document's chapters and the heading lines are found again in
    // the page bytes: which of them the source keeps is known at its end.
    const std::vector<extract::Chapter> headings = headingLines(utf8);
    std::vector<std::size_t> offsets;
    for (const extract::Chapter& chapter : chapters)
        offsets.push_back(chapter.offset > textDone_ ? chapter.offset - textDone_ : 0);
    for (const extract::Chapter& heading : headings)
        offsets.push_back(heading.offset);
    std::vector<std::size_t> sorted = offsets;
    std::ranges::sort(sorted);
    page_.bytes.clear();
    page_.offsets.clear();
    appendPageText(utf8, rules_, sorted, page_);
    const auto pageOffset = [&](std::size_t offset) {
        const auto at = std::ranges::lower_bound(sorted, offset) - sorted.begin();
        return pageDone_ + page_.offsets[static_cast<std::size_t>(at)];
    };
    for (std::size_t i = 0; i < chapters.size(); ++i) {
        note(ownChapters_, textDone_ + offsets[i]);
        ownChapters_.marks.push_back({chapters[i].title, pageOffset(offsets[i])});
    }
    for (const extract::Chapter& heading : headings) {
        note(headings_, textDone_ + heading.offset);
        headings_.marks.push_back({heading.title, pageOffset(heading.offset)});
    }
    handOver(page_.bytes, sink_);
    textDone_ += utf8.size();
    pageDone_ += page_.bytes.size();
}

void SourceTextPieces::finish(const std::string& fileTitle, PreparedSource& prepared)
{
    if (!rules_.encoder)
        return;
    Found& chosen = ownChapters_.marks.empty() ? headings_ : ownChapters_;
    prepared.chapters = std::move(chosen.marks);
    if (chosen.firstOffset == std::string::npos || chosen.firstOffset > textStart_)
        prepared.chapters.insert(prepared.chapters.begin(), {fileTitle, 0});
    prepared.replaced = std::move(page_.replaced);
}

}  // namespace leafmill
