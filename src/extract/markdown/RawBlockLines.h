#pragma once

#include <cstddef>
#include <span>
#include <string_view>

namespace leafmill::extract {

// Follows, a line at a time, the top-level blocks of a Markdown text that a
// blank line does not end: fenced code, and HTML that runs to a closing mark
// (a comment, <pre>, <script>...). Containers are not followed: a line that
// opens such a block inside one leaves the judgement unsure, as do HTML lines
// that only a paragraph around them decides and the forms that versions of
// CommonMark read apart.
class RawBlockLines {
public:
    // The next line, without its line end.
    void line(std::string_view line);
    // Whether such a block, or HTML that a blank line ends, is open.
    bool open() const { return kind_ != Kind::None; }
    // Whether a line since the last forgetDoubts() may have been misread.
    bool unsure() const { return unsure_; }
    void forgetDoubts() { unsure_ = false; }

private:
    enum class Kind { None, Fence, Marked, UntilBlank };

    bool opensFence(std::string_view rest);
    bool opensHtml(std::string_view rest);

    Kind kind_ = Kind::None;
    char fenceMark_ = 0;
    std::size_t fenceLength_ = 0;
    std::span<const std::string_view> endMarks_;  // those of a Marked block
    bool unsure_ = false;
};

}  // namespace leafmill::extract
