#pragma once

#include "extract/Extractor.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::package {

// Builds an extractor's text from a document tree: paragraphs one to a line
// (CR LF), cells parted by TAB, white space collapsed where the format says
// so, and chapters whose offsets are fixed where their first text lands.
// Whatever bytes come in, the text stays well-formed UTF-8 without control
// characters.
class TextBuilder {
public:
    enum class Space {
        Collapse,  // runs of XML white space are one blank, none at a line start (HTML, OpenDocument)
        Preserve,  // every character counts (Word's runs)
    };

    void append(std::string_view utf8, Space space = Space::Collapse);
    void append(char32_t c);
    // A list item's label ("1. ", "• "): the item's first block stays on the
    // label's line.
    void appendLabel(std::string_view label);
    void tab();
    // Ends the current line; a line already ended gives an empty one.
    void lineBreak();
    // The next text starts a new line; nothing is written until it comes.
    void endParagraph();

    // A document another reader read (one embedded in this one), at this
    // place: its lines and its chapters, or with Space::Collapse (inside a
    // table's cell) its words alone.
    void appendDocument(const Result& document, Space space);

    // A chapter starting where the next text lands.
    void startChapter(std::string title, int level);
    // A chapter named by the paragraph that starts with the next text: its
    // title is taken from that paragraph's text when the paragraph ends, and
    // it is dropped when the paragraph stays empty.
    void startHeading(int level);

    // The bytes of text so far, those handed on included.
    std::size_t size() const { return result_.end(); }

    // Hands the text written so far on to the options' sink once a piece has
    // gathered (see extract::handOn), keeping what a heading still open or a
    // chapter not yet placed may need.
    void handOn(const Options& options);

    // The text, ending in CR LF when not empty, and its chapters in text
    // order: what was not handed on.
    Result take();

private:
    void beforeContent();
    void appendValidated(std::string_view utf8, Space space);
    void closeHeading();

    Result result_;
    std::size_t unplaced_ = 0;  // chapters at the back still waiting for their offset
    bool headingOpen_ = false;
    bool pendingSpace_ = false;
    bool pendingParagraph_ = false;
    bool afterLabel_ = false;
};

// Words as the builder writes them, on one line: white space collapsed,
// control characters left out and bytes that are no UTF-8 replaced (XML
// parsers take any bytes for UTF-8).
std::string wellFormedWords(std::string_view utf8);

}  // namespace leafmill::extract::package
