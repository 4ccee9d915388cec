#pragma once

#include "extract/layout/PageLines.h"

#include <cstddef>
#include <span>
#include <string>
#include <vector>

namespace leafmill::extract::layout {

// A line that starts a chapter, by its page and its index there (the
// page's line count, or a page past the last, for the end of the text);
// `offset` is where it lands in the text.
struct Anchor {
    std::size_t page = 0, line = 0;
    std::size_t offset = 0;
};

// Joins the printed lines of all pages into paragraphs, each ended by CR LF.
// A paragraph ends where a line stops short of its column (the next line's
// first word would have fitted), before a wider gap than the lines usually
// leave, an indented line, or a change of type size; it runs on across a
// column or page break otherwise. A word hyphenated at the end of a line is
// joined again; lines of Chinese or Japanese are joined without a space.
// Right-to-left paragraphs are measured from the right edge. Every anchor's
// line starts a paragraph, and the anchor learns its offset.
std::string joinParagraphs(const std::vector<std::vector<Line>>& pages, std::span<Anchor> anchors = {});

}  // namespace leafmill::extract::layout
