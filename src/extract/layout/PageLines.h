#pragma once

#include <string>
#include <vector>

namespace leafmill::extract::layout {

// A word as the PDF library places it, turned into the frame of its writing
// direction: `left` to `right` runs along the line, `top` to `bottom` from
// one line to the next, in points.
struct Word {
    std::string text;  // UTF-8, in the order the page shows it (left to right)
    double left = 0, top = 0, right = 0, bottom = 0;
    bool spaceAfter = false;  // the library saw a word space after it on its line
    int rotation = 0;  // quarter turns of the writing direction
    double fontSize = 0;
};

// One printed line: its words joined, and the box around them.
struct Line {
    std::string text;  // UTF-8 in reading order: words parted by a blank, cells by TAB
    double left = 0, top = 0, right = 0, bottom = 0;
    // The first word in reading order; of Chinese or Japanese, one character,
    // since such a line may break after any.
    double firstWordWidth = 0;
    int rotation = 0;
    bool rightToLeft = false;  // Arabic or Hebrew: read from the right edge

    double height() const { return bottom - top; }
};

// The words of one page, in the library's reading order, gathered into lines:
// a line ends where the next word turns, goes back along the line, or sits
// above or below the line's band. Words the page sets apart without a space
// character are parted all the same: by a blank after a gap of a tenth of
// the type size (where the library itself starts a new word), by a TAB
// after one wider than a word space ever is (a table's next cell). Lines of
// right-to-left text are turned into the order they are read in.
std::vector<Line> groupIntoLines(const std::vector<Word>& words);

}  // namespace leafmill::extract::layout
