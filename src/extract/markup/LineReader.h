#pragma once

#include <cstddef>
#include <string_view>

namespace leafmill::extract {

// The lines of a text as the HTML filter reads them: a line ends at a CR, a
// LF or a CR LF pair, and the last line needs no terminator. A lone LF ends a
// line too: most pages are written with LF alone, and as part of a line it
// would keep their empty lines and leave the text without line ends.
class LineReader {
public:
    explicit LineReader(std::string_view text)
        : text_(text)
    {
    }

    bool exhausted() const { return pos_ >= text_.size(); }

    // The next line without its terminator; empty once exhausted.
    std::string_view next()
    {
        const std::size_t start = pos_;
        const std::size_t end = text_.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            pos_ = text_.size();
            return text_.substr(start);
        }
        pos_ = end + 1;
        if (text_[end] == '\r' && pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
        return text_.substr(start, end - start);
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace leafmill::extract
