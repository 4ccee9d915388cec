#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace leafmill {
class CodePage;
}

namespace leafmill::extract {

class LineReader;

// The length of UTF-8 text once written in the code page.
std::uint64_t codePageLength(const CodePage& codePage, std::string_view utf8);

// The line-by-line HTML filter: no parser and no tree, just these steps on
// each line, in this order:
//   1. read the line (ended by CR, LF or CR LF);
//   2. remove every script block, joining the following lines while an
//      opening tag has no end tag after it yet (up to 64 KB);
//   3. the same for style blocks;
//   4. break and paragraph tags become CR LF, runs of spaces one space;
//   5. a blank line is dropped; any other counts towards the progress;
//   6. tags are removed, the inside-a-tag (or comment) state carried over to
//      the next line; the tags of cells, list items and blocks leave a space;
//   7. character references are decoded, and runs of spaces squeezed again;
//   8. runs of line breaks become one;
//   9. a line that is not blank is written, followed by CR LF.
// One object filters one page, a line at a time. A long line may come in
// segments (see LineReader); what the steps carry from one segment to the
// next makes the text the same as that of the whole line.
class HtmlLineFilter {
public:
    // `codePage` measures the byte lengths that the progress and the join
    // limit count; `textLength` is the page's text's length in it.
    HtmlLineFilter(const CodePage& codePage, std::function<void(int)> progress, std::uint64_t textLength);

    // Filters the next line of the page's text (UTF-8), with the lines joined
    // to it, and appends what it writes, each line followed by CR LF; false
    // once the lines are exhausted. The progress is the share of the text's
    // length in the code page that the counted lines make up: the page's size
    // when it is written in the code page, and still a true share when it was
    // read in another set.
    bool filterLine(LineReader& lines, std::string& out);

private:
    enum class Markup { Text, Tag, Comment };

    std::string withoutBlocks(std::string line, LineReader& lines, bool& continues) const;
    void countLine(std::string_view line, bool continues);
    std::string keepOutsideTags(std::string_view line);
    std::string decodedReferences(std::string kept, bool continues);
    void write(std::string_view kept, bool continues, std::string& out);
    std::uint64_t codePageLength(std::string_view utf8) const;

    const CodePage& codePage_;
    std::uint64_t textLength_ = 0;
    std::function<void(int)> progress_;
    std::uint64_t bytesDone_ = 0;
    int lastPercent_ = -1;
    Markup markup_ = Markup::Text;

    // What the segments of a long line so far leave to the next; all of it
    // starts afresh with each line.
    struct LineSoFar {
        bool started = false;  // a segment of the line has been filtered
        std::uint64_t length = 0;  // the code-page length of its segments, blocks removed
        bool spaceOwed = false;  // for a removed tag that parts words
        char lastKept = '\0';  // of the text kept outside tags; none at the line's start
        std::string referenceStart;  // kept text from a '&' that may start a reference
        std::string blankStart;  // the line's text while it is blank, not yet written
        bool written = false;  // the line has written text
        std::string tail;  // the last two characters the line has written or holds
    };
    LineSoFar line_;
};

}  // namespace leafmill::extract
