#pragma once

#include <string>
#include <vector>

namespace leafmill::extract::pdf {

// A word as the PDF library places it, turned into the frame of its writing
// direction: `left` to `right` runs along the line, `top` to `bottom` from
// one line to the next, in points.
struct Word {
    std::string text;  // UTF-8
    double left = 0, top = 0, right = 0, bottom = 0;
    bool spaceAfter = false;
    int rotation = 0;  // quarter turns of the writing direction
};

// One printed line: its words joined, and the box around them.
struct Line {
    std::string text;  // UTF-8, words joined by single spaces where the page has them
    double left = 0, top = 0, right = 0, bottom = 0;
    double firstWordWidth = 0;
    int rotation = 0;

    double height() const { return bottom - top; }
};

// The words of one page, in the library's reading order, gathered into lines:
// a line ends where the next word turns, goes back along the line, or sits
// above or below the line's band.
std::vector<Line> groupIntoLines(const std::vector<Word>& words);

}  // namespace leafmill::extract::pdf
