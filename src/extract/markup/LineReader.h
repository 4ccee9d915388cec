#pragma once

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
// so only the pieces of the lines being read are kept.
class LineReader {
public:
    // `more` replaces its argument with the text's next piece and returns
    // false once there is none.
    explicit LineReader(std::function<bool(std::string&)> more)
        : more_(std::move(more))
    {
    }

    bool exhausted() { return pos_ >= held_.size() && !takeMore(); }

    // The next line without its terminator; empty once exhausted. The view
    // holds until the next call.
    std::string_view next()
    {
        if (exhausted())
            return {};
        std::size_t searched = pos_;
        std::size_t end = held_.find_first_of("\r\n", searched);
        // A CR that ends the pieces held may be the first half of CR LF.
        while (end == std::string::npos || (held_[end] == '\r' && end + 1 == held_.size())) {
            const std::size_t seen = (end == std::string::npos ? held_.size() : end) - pos_;
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
    std::string held_;
    std::size_t pos_ = 0;
    bool done_ = false;
};

}  // namespace leafmill::extract
