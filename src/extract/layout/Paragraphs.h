#pragma once

#include "extract/layout/PageLines.h"

#include <cstddef>
#include <map>
#include <memory>
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

// The gaps between the lines of the pages' columns, as shares of the line
// height, and how often each comes: their median is the usual gap between
// the lines of a paragraph.
class LineGaps {
public:
    void addPage(const std::vector<Line>& lines);
    double median() const;

private:
    std::map<double, std::size_t> counts_;
    std::size_t total_ = 0;
};

// Joins the printed lines of all pages into paragraphs, each ended by CR LF,
// a page at a time. A paragraph ends where a line stops short of its column
// (the next line's first word would have fitted), before a wider gap than
// the lines usually leave, an indented line, or a change of type size; it
// runs on across a column or page break otherwise. A word hyphenated at the
// end of a line is joined again; lines of Chinese or Japanese are joined
// without a space. Right-to-left paragraphs are measured from the right
// edge. Every anchor's line starts a paragraph, and the anchor learns its
// offset when the joiner reaches that line.
class ParagraphJoiner {
public:
    // `lineCounts` are the pages' (to place the anchors).
    ParagraphJoiner(double usualGap, const std::vector<std::size_t>& lineCounts, std::span<Anchor> anchors);
    ~ParagraphJoiner();

    // The next page's lines, in page order.
    void addPage(const std::vector<Line>& lines);
    // Ends the last paragraph, once every page is added.
    void finish();
    // The paragraphs ended since the text was last taken; offsets go on
    // counting over the whole text.
    std::string takeText();
    // The anchors' indexes in text order (bookmark order where two share a
    // line), and how many of them from the first have learnt their offsets.
    const std::vector<std::size_t>& textOrder() const;
    std::size_t anchorsPlaced() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The same for pages held whole.
std::string joinParagraphs(const std::vector<std::vector<Line>>& pages, std::span<Anchor> anchors = {});

}  // namespace leafmill::extract::layout
