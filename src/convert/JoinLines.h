#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <string_view>

namespace leafmill {

// Unwraps the hard line breaks of a plain text wrapped at a fixed width (as
// plain-text e-books are): a line that reaches the text's wrapping width
// goes on into the next with a space. Blank lines and indented lines still
// start paragraphs; short lines (verse, list items, headings) keep their
// breaks. A text with no clear width comes back as it was.
std::string joinedLines(std::string_view text);

// The width a text is wrapped at, told a piece at a time (the pieces may be
// cut anywhere): three quarters of its longer lines reach at least this.
class WrapWidth {
public:
    void add(std::string_view piece);
    // The width of all the pieces added; 0 when too few lines tell it.
    std::size_t measured();

private:
    std::map<std::size_t, std::size_t> lines_;  // lines of each width
    std::size_t count_ = 0;
    std::string carry_;  // the last line, while its end is unknown
};

// joinedLines a piece at a time, for a text too large to hold whole: the
// wrapping width is measured first (WrapWidth), then every piece gives the
// joined text of its lines, the last one waiting for the next piece.
class LineJoiner {
public:
    explicit LineJoiner(std::size_t wrapWidth);
    std::string add(std::string_view piece);
    std::string finish();

private:
    void joinLines(std::string_view piece, bool last, std::string& out);

    std::size_t wrapped_ = 0;  // 0: the text stays as it is
    std::string carry_;
    std::string pending_;  // the last whole line, with its end
    std::size_t pendingText_ = 0;  // the length of its text
    bool hasPending_ = false;
};

}  // namespace leafmill
