#include "convert/PageCutter.h"

#include "convert/FindCutPoint.h"
#include "convert/HeadingLines.h"
#include "convert/PageWriter.h"
#include "io/InputFile.h"
#include "text/CodePage.h"

#include <algorithm>

namespace leafmill {

namespace {

constexpr std::size_t kReadBlock = 1 << 16;
// Within a line the buffer holds this many bytes more than S before a page is
// cut, so that a cut sees the whole character it might split and the whole
// line it falls in when that may be a chapter heading (never longer).
constexpr std::size_t kLookahead = 256;
// Uncut text is written on once this much is pending.
constexpr std::size_t kStreamBlock = 1 << 16;
constexpr std::string_view kLineEnd = "\r\n";

}  // namespace

PageCutter::PageCutter(const CutRules& rules, const CodePage& codePage, PageWriter& writer)
    : rules_(rules)
    , codePage_(codePage)
    , writer_(writer)
{
}

CutOutcome PageCutter::CutTextFile(const std::filesystem::path& path, std::size_t skip)
{
    InputFile file;
    CutOutcome outcome;
    if (file.open(path, &outcome.reason))
        return CutText(file, skip);
    outcome.failure = SourceFailure::Missing;
    markPages_.clear();
    marks_.clear();
    breakAtMarks_ = false;
    return outcome;
}

CutOutcome PageCutter::CutText(InputFile& file, std::size_t skip)
{
    buffer_.clear();
    atLineStart_ = true;
    skipLineFeed_ = false;
    pages_ = 0;
    reason_.clear();
    streamStart_ = 0;
    nextBreak_ = 0;
    markPages_.clear();

    CutOutcome outcome;
    std::string error;
    std::string block;
    file.rewind();
    bool written = true;
    for (;;) {
        if (!file.read(block, kReadBlock, &error)) {
            outcome.failure = SourceFailure::Missing;
            outcome.reason = error;
            break;
        }
        const std::size_t skipped = std::min(skip, block.size());
        skip -= skipped;
        if (block.empty()) {
            written = finish();
            break;
        }
        if (skipped < block.size() && !(written = take(std::string_view(block).substr(skipped))))
            break;
    }
    if (!written) {
        outcome.failure = SourceFailure::WriteFailed;
        outcome.reason = reason_;
    }
    outcome.pages = pages_;
    // Marks the text never reached lie on its last page.
    resolveMarks(std::string::npos, std::max(pages_ - 1, 0));
    marks_.clear();
    breakAtMarks_ = false;
    return outcome;
}

void PageCutter::setMarks(std::vector<std::size_t> offsets, bool breakBefore)
{
    marks_ = std::move(offsets);
    breakAtMarks_ = breakBefore;
}

void PageCutter::resolveMarks(std::size_t end, int32_t page)
{
    while (markPages_.size() < marks_.size() && marks_[markPages_.size()] < end)
        markPages_.push_back(page);
}

// Splits the text where a page must end before a mark.
bool PageCutter::appendText(std::string_view text, bool lineEnd)
{
    while (breakAtMarks_ && rules_.pageSize > 0 && nextBreak_ < marks_.size()) {
        const std::size_t at = streamStart_ + buffer_.size();
        const std::size_t mark = marks_[nextBreak_];
        if (mark >= at + text.size() && !(mark == at && text.empty()))
            break;
        ++nextBreak_;
        if (mark < at)
            continue;
        if (!appendPiece(text.substr(0, mark - at), false) || !breakPage())
            return false;
        text.remove_prefix(mark - at);
    }
    return appendPiece(text, lineEnd);
}

// Ends the page where the text stands, as if its file ended there.
bool PageCutter::breakPage()
{
    while (buffer_.size() > static_cast<std::size_t>(rules_.pageSize))
        if (!cutPage())
            return false;
    if (buffer_.empty())
        return true;
    if (!writeWhole(buffer_))
        return false;
    streamStart_ += buffer_.size();
    buffer_.clear();
    return true;
}

bool PageCutter::writeWhole(std::string_view page)
{
    std::string error;
    if (!writer_.WritePage(page, &error))
        return fail(error);
    resolveMarks(streamStart_ + page.size(), pages_);
    ++pages_;
    return true;
}

// CR LF and a lone CR end a line and become CR LF; a lone LF ends a line and
// stays as it is.
bool PageCutter::take(std::string_view block)
{
    std::size_t at = 0;
    if (skipLineFeed_ && block.front() == '\n')
        at = 1;
    skipLineFeed_ = false;
    std::size_t cr = block.find('\r', at);
    std::size_t lf = block.find('\n', at);
    while (at < block.size()) {
        const std::size_t end = std::min(cr, lf);
        if (!appendText(block.substr(at, end - at), false))
            return false;
        if (end == std::string_view::npos)
            return true;
        const bool lineFeed = end == lf;
        if (!appendText(lineFeed ? block.substr(end, 1) : kLineEnd, true))
            return false;
        at = end + 1;
        if (!lineFeed && at == block.size())
            skipLineFeed_ = true;
        else if (!lineFeed && block[at] == '\n')
            ++at;
        if (cr < at)
            cr = block.find('\r', at);
        if (lf < at)
            lf = block.find('\n', at);
    }
    return true;
}

bool PageCutter::appendPiece(std::string_view text, bool lineEnd)
{
    if (text.empty())
        return true;
    atLineStart_ = lineEnd;
    if (rules_.pageSize <= 0) {
        buffer_.append(text);
        if (buffer_.size() < kStreamBlock)
            return true;
        std::string error;
        if ((!writer_.pageOpen() && !writer_.beginPage(&error)) || !writer_.appendToPage(buffer_, &error))
            return fail(error);
        buffer_.clear();
        return true;
    }
    // Inside a line, keep a few bytes beyond the page; at a line end the text
    // is complete and the page is cut as soon as it passes S.
    const std::size_t size = static_cast<std::size_t>(rules_.pageSize);
    const std::size_t limit = lineEnd ? size : size + kLookahead;
    while (!text.empty()) {
        const std::size_t room = buffer_.size() <= limit ? limit + 1 - buffer_.size() : 1;
        const std::size_t piece = std::min(room, text.size());
        buffer_.append(text.substr(0, piece));
        text.remove_prefix(piece);
        while (buffer_.size() > limit)
            if (!cutPage())
                return false;
    }
    return true;
}

bool PageCutter::cutPage()
{
    const std::size_t size = static_cast<std::size_t>(rules_.pageSize);
    const std::size_t window = static_cast<std::size_t>(std::clamp(rules_.windowSize, 0, rules_.pageSize));
    const std::size_t windowStart = size - window;
    const std::size_t behindWord = FindCutPoint(buffer_, windowStart, size, rules_, codePage_);
    std::size_t cut = outsideHeading(
        outsideUnsplit(codePage_.boundaryAtOrBefore(buffer_, behindWord == 0 ? size : windowStart + behindWord)));
    // A character longer than the whole page goes on a page of its own.
    if (cut == 0)
        cut = codePage_.charLength(buffer_, 0);

    std::string error;
    if (!writer_.WritePage(std::string_view(buffer_).substr(0, cut), &error))
        return fail(error);
    resolveMarks(streamStart_ + cut, pages_);
    ++pages_;
    const std::size_t next = overlapStart(cut);
    streamStart_ += next;
    buffer_.erase(0, next);
    return true;
}

// Where the next page starts: K bytes before the cut, at a character start,
// and never at the start of the page, so each cut leaves less than before.
std::size_t PageCutter::overlapStart(std::size_t cut) const
{
    const std::size_t keep = static_cast<std::size_t>(std::max(rules_.keep, 0));
    if (keep == 0)
        return cut;
    const std::size_t start = outsideUnsplit(codePage_.boundaryAtOrBefore(buffer_, keep < cut ? cut - keep : 0));
    return start > 0 ? start : codePage_.charLength(buffer_, 0);
}

// A position inside one of the unsplit sequences moves to its start.
std::size_t PageCutter::outsideUnsplit(std::size_t pos) const
{
    for (const std::string& sequence : rules_.unsplit) {
        const std::size_t from = pos >= sequence.size() ? pos - sequence.size() + 1 : 0;
        const std::size_t at = buffer_.find(sequence, from);
        if (at != std::string::npos && at < pos)
            return at;
    }
    return pos;
}

// A position inside a chapter heading's line moves to the line's start,
// unless the line starts the page.
std::size_t PageCutter::outsideHeading(std::size_t pos) const
{
    const std::size_t before = pos > 0 ? buffer_.rfind('\n', pos - 1) : std::string::npos;
    if (before == std::string::npos || before + 1 == pos)
        return pos;
    const std::size_t lineStart = before + 1;
    const std::size_t lineEnd = buffer_.find_first_of("\r\n", pos);
    if (lineEnd == std::string::npos)
        return pos;  // longer than the lookahead: no heading
    const std::string line = codePage_.toUtf8(std::string_view(buffer_).substr(lineStart, lineEnd - lineStart));
    return headingLevel(line) > 0 ? lineStart : pos;
}

bool PageCutter::finish()
{
    // The last line gets its line end even when the file has none.
    if (!atLineStart_ && !appendText(kLineEnd, true))
        return false;
    std::string error;
    if (rules_.pageSize <= 0) {
        if (buffer_.empty() && !writer_.pageOpen())
            return true;
        if ((!writer_.pageOpen() && !writer_.beginPage(&error)) || !writer_.appendToPage(buffer_, &error)
            || !writer_.finishPage(&error))
            return fail(error);
        ++pages_;
        return true;
    }
    if (buffer_.empty())
        return true;
    return writeWhole(buffer_);
}

bool PageCutter::fail(std::string reason)
{
    reason_ = std::move(reason);
    return false;
}

}  // namespace leafmill
