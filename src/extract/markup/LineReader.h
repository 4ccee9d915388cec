#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace leafmill::extract {

// The lines of a text as the HTML filter reads them: a line ends at a CR, a
// LF or a CR LF pair, and the last line needs no terminator. A lone LF ends a
// line too: most pages are written with LF alone, and as part of a line it
// would keep their empty lines and leave the text without line ends.
// The text comes in pieces, asked for when a line runs on past those held,
// so only the pieces of the lines being read are kept. A line longer than
// `longLine` bytes is handed out in segments, each cut after a '>': no step
// of the filter looks across such a cut but those that carry their state
// over it, so a line written as one (a whole page) is not held whole.
class LineReader {
public:
    static constexpr char kSegmentEnd = '>';

    // `more` replaces its argument with the text's next piece and returns
    // false once there is none.
    LineReader(std::function<bool(std::string&)> more, std::size_t longLine)
        : more_(std::move(more))
        , longLine_(longLine)
    {
    }

    bool exhausted() { return pos_ >= held_.size() && !takeMore(); }

    // The next line without its terminator, or the next segment of a long
    // one; empty once exhausted. The view holds until the next call.
    std::string_view next()
    {
        continues_ = false;
        if (exhausted())
            return {};
        std::size_t searched = pos_;
        std::size_t end = held_.find_first_of("\r\n", searched);
        // A CR that ends the pieces held may be the first half of CR LF.
        while (end == std::string::npos || (held_[end] == '\r' && end + 1 == held_.size())) {
            const std::size_t seen = (end == std::string::npos ? held_.size() : end) - pos_;
            if (end == std::string::npos && seen >= longLine_) {
                // The first '>' that makes the segment long enough, looked for
                // where this search has not looked before (a long line stays
                // linear), and before the last character held: the line goes on.
                const std::size_t from
                    = std::max(pos_ + std::max<std::size_t>(longLine_, 1) - 1, searched == pos_ ? pos_ : searched - 1);
                const std::size_t cut = held_.find(kSegmentEnd, from);
                if (cut != std::string::npos && cut + 1 < held_.size()) {
                    const std::size_t start = pos_;
                    pos_ = cut + 1;
                    continues_ = true;
                    return std::string_view(held_).substr(start, pos_ - start);
                }
            }
            if (!takeMore())
                break;
            searched = pos_ + seen;
            end = held_.find_first_of("\r\n", searched);
        }
        const std::size_t start = pos_;
        if (end == std::string::npos) {
            pos_ = held_.size();
            return std::string_view(held_).substr(start);
        }
        pos_ = end + 1;
        if (held_[end] == '\r' && pos_ < held_.size() && held_[pos_] == '\n')
            ++pos_;
        return std::string_view(held_).substr(start, end - start);
    }

    // Whether the line goes on past what the last next() gave.
    bool continues() const { return continues_; }

private:
    // Drops the lines read and adds the next piece; false at the end.
    bool takeMore()
    {
        std::string piece;
        if (done_ || !more_(piece)) {
            done_ = true;
            return false;
        }
        if (pos_ == held_.size())
            held_ = std::move(piece);
        else
            held_.erase(0, pos_).append(piece);
        pos_ = 0;
        return true;
    }

    std::function<bool(std::string&)> more_;
    std::size_t longLine_;
    std::string held_;
    std::size_t pos_ = 0;
    bool done_ = false;
    bool continues_ = false;
};

}  // namespace leafmill::extract
