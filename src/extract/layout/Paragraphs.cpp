#include "extract/layout/Paragraphs.h"

#include "extract/layout/Scripts.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>
#include <utility>

namespace leafmill::extract::layout {

namespace {

// A run of lines that follow each other down one column.
struct Block {
    double left = 0, right = 0;
    std::size_t lines = 0;
};

struct PlacedLine {
    const Line* line;
    std::size_t block;
    // Where the column ends around this line: the widest of its neighbours,
    // so that a narrow column below full-width text is measured by itself.
    double columnLeft = 0, columnRight = 0;
};

// How many lines on either side measure a line's column.
constexpr std::size_t columnWindow = 3;

bool sameSize(const Line& a, const Line& b)
{
    return std::abs(a.height() - b.height()) <= 0.2 * std::max(a.height(), b.height());
}

// Headings start a block of their own, so that a column is measured by its
// body lines.
bool followsInColumn(const Line& above, const Line& below)
{
    const double height = std::max(above.height(), below.height());
    return below.rotation == above.rotation && sameSize(above, below) && below.top >= above.top + 0.5 * above.height()
        && below.top - above.bottom <= 2 * height && below.left <= above.right && below.right >= above.left;
}

bool isHyphen(char32_t c)
{
    return c == U'-' || c == 0x00AD || c == 0x2010;
}

// Bytes of the hyphen that ends `text` after a letter or digit, else 0.
std::size_t endingHyphen(std::string_view text)
{
    const char32_t last = lastCodePoint(text);
    if (!isHyphen(last))
        return 0;
    const std::size_t size = U8_LENGTH(static_cast<UChar32>(last));
    return u_isalnum(static_cast<UChar32>(lastCodePoint(text.substr(0, text.size() - size)))) ? size : 0;
}

double gapBetween(const Line& above, const Line& below)
{
    return (below.top - above.bottom) / std::max(above.height(), 1e-3);
}

// A page's lines in their blocks, each with where its column ends. Blocks
// never run on to another page.
struct PlacedPage {
    std::vector<Block> blocks;
    std::vector<PlacedLine> lines;
};

PlacedPage placed(const std::vector<Line>& lines)
{
    PlacedPage page;
    page.lines.reserve(lines.size());
    const Line* previous = nullptr;
    for (const Line& line : lines) {
        if (previous == nullptr || !followsInColumn(*previous, line))
            page.blocks.push_back({line.left, line.right, 0});
        Block& block = page.blocks.back();
        block.left = std::min(block.left, line.left);
        block.right = std::max(block.right, line.right);
        ++block.lines;
        page.lines.push_back({&line, page.blocks.size() - 1, line.left, line.right});
        previous = &line;
    }
    std::vector<PlacedLine>& placed = page.lines;
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const std::size_t first = i > columnWindow ? i - columnWindow : 0;
        const std::size_t last = std::min(placed.size() - 1, i + columnWindow);
        for (std::size_t j = first; j <= last; ++j) {
            if (placed[j].block != placed[i].block)
                continue;
            placed[i].columnLeft = std::min(placed[i].columnLeft, placed[j].line->left);
            placed[i].columnRight = std::max(placed[i].columnRight, placed[j].line->right);
        }
    }
    return page;
}

// The line above the one being joined, which may be the last of the page
// before.
struct Above {
    const Line* line;
    double columnLeft, columnRight;
    std::size_t blockLines;
    bool sameBlock;
};

// A hyphen after a letter, and a small letter to follow: one word broken.
bool endsInBrokenWord(const Line& above, const Line& below)
{
    return endingHyphen(above.text) > 0 && u_islower(static_cast<UChar32>(firstCodePoint(below.text)));
}

bool endsParagraph(const Above& above, const Line& b, const Block& belowBlock, double usualGap, bool hyphenated)
{
    const Line& a = *above.line;
    const double height = std::max(a.height(), b.height());
    if (b.rotation != a.rotation || !sameSize(a, b))
        return true;
    // Right-to-left lines start at the right edge: their indent and the
    // room a short line leaves are on the other side.
    const bool fromRight = b.rightToLeft;
    if (above.sameBlock) {
        if (gapBetween(a, b) > usualGap + 0.3 || (fromRight ? a.right - b.right : b.left - a.left) > height)
            return true;
    } else if (above.blockLines < 2 || (fromRight ? belowBlock.right - b.right : b.left - belowBlock.left) > height) {
        return true;
    }
    const double room = a.rightToLeft ? a.left - above.columnLeft : above.columnRight - a.right;
    return !hyphenated && room > b.firstWordWidth + 0.5 * a.height();
}

void append(std::string& paragraph, const std::string& next, bool hyphenated)
{
    // "Anglo-" "Saxon", "1990-" "1995": the hyphen is the text's own and
    // stays, without a space.
    const std::size_t hyphen = endingHyphen(paragraph);
    if (hyphenated)
        paragraph.resize(paragraph.size() - hyphen);
    else if (hyphen == 0 && !isCjk(lastCodePoint(paragraph)) && !isCjk(firstCodePoint(next)))
        paragraph += ' ';
    paragraph += next;
}

// Soft hyphens inside a line only marked where a word may be broken.
void endParagraph(const std::string& paragraph, std::string& out)
{
    for (std::size_t i = 0; i < paragraph.size(); ++i) {
        if (paragraph.compare(i, 2, "\xC2\xAD") == 0)
            ++i;
        else
            out += paragraph[i];
    }
    out += "\r\n";
}

}  // namespace

void LineGaps::addPage(const std::vector<Line>& lines)
{
    const PlacedPage page = placed(lines);
    for (std::size_t i = 1; i < page.lines.size(); ++i) {
        if (page.lines[i].block == page.lines[i - 1].block) {
            ++counts_[gapBetween(*page.lines[i - 1].line, *page.lines[i].line)];
            ++total_;
        }
    }
}

double LineGaps::median() const
{
    std::size_t below = 0;
    for (const auto& [gap, count] : counts_) {
        below += count;
        if (below > total_ / 2)
            return gap;
    }
    return 0;
}

struct ParagraphJoiner::State {
    double usualGap = 0;
    std::size_t lines = 0;  // of all pages
    std::size_t index = 0;  // of the next line, counted over all pages
    std::span<Anchor> anchors;
    std::vector<std::size_t> anchorLines;  // each anchor's line, counted over all pages
    std::vector<std::size_t> order;  // the anchors by their lines
    std::size_t placed = 0;  // of `order`, those whose offsets are known
    std::size_t taken = 0;  // bytes of text taken before `out`
    std::string out;
    std::string paragraph;
    // The last line of the pages so far, where its column ends and how many
    // lines its block has.
    Line last;
    double lastColumnLeft = 0, lastColumnRight = 0;
    std::size_t lastBlockLines = 0;

    bool startsChapter(std::size_t line) const { return placed < order.size() && anchorLines[order[placed]] == line; }
    // The anchors of this line start where the text ends now.
    void place(std::size_t line)
    {
        for (; startsChapter(line); ++placed)
            anchors[order[placed]].offset = taken + out.size();
    }
};

ParagraphJoiner::ParagraphJoiner(double usualGap, const std::vector<std::size_t>& lineCounts, std::span<Anchor> anchors)
    : state_(std::make_unique<State>())
{
    State& s = *state_;
    s.usualGap = usualGap;
    s.anchors = anchors;
    std::vector<std::size_t> pageStarts;
    for (std::size_t count : lineCounts) {
        pageStarts.push_back(s.lines);
        s.lines += count;
    }
    for (const Anchor& anchor : anchors) {
        const std::size_t at = anchor.page < pageStarts.size() ? pageStarts[anchor.page] + anchor.line : s.lines;
        s.anchorLines.push_back(std::min(at, s.lines));
        s.order.push_back(s.order.size());
    }
    std::ranges::stable_sort(s.order, {}, [&](std::size_t k) { return s.anchorLines[k]; });
}

ParagraphJoiner::~ParagraphJoiner() = default;

void ParagraphJoiner::addPage(const std::vector<Line>& lines)
{
    State& s = *state_;
    const PlacedPage page = placed(lines);
    for (std::size_t k = 0; k < page.lines.size(); ++k, ++s.index) {
        const PlacedLine& below = page.lines[k];
        const Line& line = *below.line;
        const bool startsChapter = s.startsChapter(s.index);
        if (s.index > 0) {
            const PlacedLine* up = k > 0 ? &page.lines[k - 1] : nullptr;
            const Above above = up != nullptr
                ? Above {up->line, up->columnLeft, up->columnRight, page.blocks[up->block].lines,
                         up->block == below.block}
                : Above {&s.last, s.lastColumnLeft, s.lastColumnRight, s.lastBlockLines, false};
            const bool hyphenated = endsInBrokenWord(*above.line, line);
            if (!startsChapter && !endsParagraph(above, line, page.blocks[below.block], s.usualGap, hyphenated)) {
                append(s.paragraph, line.text, hyphenated);
                continue;
            }
            endParagraph(s.paragraph, s.out);
        }
        s.place(s.index);
        s.paragraph = line.text;
    }
    if (!page.lines.empty()) {
        const PlacedLine& last = page.lines.back();
        s.last = *last.line;
        s.lastColumnLeft = last.columnLeft;
        s.lastColumnRight = last.columnRight;
        s.lastBlockLines = page.blocks[last.block].lines;
    }
}

void ParagraphJoiner::finish()
{
    State& s = *state_;
    if (s.lines > 0)
        endParagraph(s.paragraph, s.out);
    s.place(s.lines);
}

std::string ParagraphJoiner::takeText()
{
    State& s = *state_;
    s.taken += s.out.size();
    return std::exchange(s.out, std::string());
}

const std::vector<std::size_t>& ParagraphJoiner::textOrder() const
{
    return state_->order;
}

std::size_t ParagraphJoiner::anchorsPlaced() const
{
    return state_->placed;
}

std::string joinParagraphs(const std::vector<std::vector<Line>>& pages, std::span<Anchor> anchors)
{
    LineGaps gaps;
    std::vector<std::size_t> lineCounts;
    for (const std::vector<Line>& lines : pages) {
        gaps.addPage(lines);
        lineCounts.push_back(lines.size());
    }
    ParagraphJoiner joiner(gaps.median(), lineCounts, anchors);
    for (const std::vector<Line>& lines : pages)
        joiner.addPage(lines);
    joiner.finish();
    return joiner.takeText();
}

}  // namespace leafmill::extract::layout
