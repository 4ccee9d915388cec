#include "extract/common/DecodedPieces.h"

#include "text/CodePage.h"

#include <algorithm>

namespace leafmill::extract {

namespace {

constexpr std::size_t kReleaseStep = std::size_t {8} << 20;

// Where the text before `end` may be cut after its last line end, searching
// only from `from`; 0 when there is none. A CR at the very end may yet be
// followed by the LF of its pair, so the cut waits for what comes next.
std::size_t lastLineEnd(std::string_view text, std::size_t from)
{
    std::string_view searched = text.substr(from);
    if (searched.ends_with('\r'))
        searched.remove_suffix(1);
    const std::size_t at = searched.find_last_of("\r\n");
    return at == std::string_view::npos ? 0 : from + at + 1;
}

}  // namespace

DecodedPieces::DecodedPieces(std::string_view bytes, TextReading reading, std::size_t pieceSize,
                             std::function<void(std::string_view)> release, char cutAfter)
    : bytes_(bytes)
    , reading_(std::move(reading))
    , pieceSize_(std::max<std::size_t>(pieceSize, 1))
    , release_(std::move(release))
    , cutAfter_(cutAfter)
{
    if (!reading_.asUtf8) {
        decoder_ = std::make_unique<Utf8Decoder>(reading_.encoding.encoding.converter);
        read_ = released_ = std::min(reading_.encoding.markSize, bytes.size());
    }
}

DecodedPieces::~DecodedPieces() = default;

bool DecodedPieces::next(std::string& piece)
{
    while (read_ < bytes_.size()) {
        const std::string_view block = bytes_.substr(read_, pieceSize_);
        read_ += block.size();
        const bool last = read_ == bytes_.size();
        // Only what this block added (and a CR held back) is searched: a long line stays linear.
        const std::size_t searched = waiting_.empty() ? 0 : waiting_.size() - 1;
        if (reading_.asUtf8)
            waiting_.append(block);
        else
            waiting_ += decoder_->decode(block, last);
        releasePassed();
        std::size_t end = last ? waiting_.size() : lastLineEnd(waiting_, searched);
        if (end == 0 && cutAfter_ != '\0' && waiting_.size() >= pieceSize_) {
            const std::size_t cut = std::string_view(waiting_).substr(searched).rfind(cutAfter_);
            end = cut == std::string_view::npos ? 0 : searched + cut + 1;
        }
        if (end == 0)
            continue;
        if (end == waiting_.size()) {
            piece = std::move(waiting_);
            waiting_ = std::string();
        } else {
            piece.assign(waiting_, 0, end);
            waiting_.erase(0, end);
        }
        if (reading_.composed)
            piece = composedSource(std::move(piece), reading_.encoding);
        return true;
    }
    return false;
}

void DecodedPieces::releasePassed()
{
    if (!release_ || read_ - released_ < kReleaseStep)
        return;
    release_(bytes_.substr(released_, read_ - released_));
    released_ = read_;
}

}  // namespace leafmill::extract
