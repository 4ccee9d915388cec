#include "extract/layout/Paragraphs.h"

#include "extract/layout/Scripts.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string_view>

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

class Joiner {
public:
    Joiner(const std::vector<std::vector<Line>>& pages, std::span<Anchor> anchors)
        : anchors_(anchors)
    {
        std::vector<std::size_t> pageStarts;
        for (const auto& lines : pages) {
            pageStarts.push_back(placed_.size());
            const Line* previous = nullptr;
            for (const Line& line : lines) {
                if (previous == nullptr || !followsInColumn(*previous, line))
                    blocks_.push_back({line.left, line.right, 0});
                Block& block = blocks_.back();
                block.left = std::min(block.left, line.left);
                block.right = std::max(block.right, line.right);
                ++block.lines;
                placed_.push_back({&line, blocks_.size() - 1, line.left, line.right});
                previous = &line;
            }
        }
        for (const Anchor& anchor : anchors_) {
            const std::size_t at = anchor.page < pages.size() ? pageStarts[anchor.page] + anchor.line : placed_.size();
            anchorLines_.push_back(std::min(at, placed_.size()));
            chapterStarts_[anchorLines_.back()] = 0;
        }
        measureColumns();
        usualGap_ = medianGap();
    }

    std::string text()
    {
        std::string out;
        out.reserve(textSize());
        std::string paragraph;
        for (std::size_t i = 0; i < placed_.size(); ++i) {
            const Line& line = *placed_[i].line;
            const auto chapter = chapterStarts_.find(i);
            const bool hyphenated = i > 0 && endsInBrokenWord(*placed_[i - 1].line, line);
            if (i > 0 && chapter == chapterStarts_.end() && !endsParagraph(placed_[i - 1], placed_[i], hyphenated)) {
                append(paragraph, line.text, hyphenated);
                continue;
            }
            if (i > 0)
                finish(paragraph, out);
            if (chapter != chapterStarts_.end())
                chapter->second = out.size();
            paragraph = line.text;
        }
        if (!placed_.empty())
            finish(paragraph, out);
        if (const auto end = chapterStarts_.find(placed_.size()); end != chapterStarts_.end())
            end->second = out.size();
        for (std::size_t k = 0; k < anchors_.size(); ++k)
            anchors_[k].offset = chapterStarts_[anchorLines_[k]];
        return out;
    }

private:
    // At most the lines' text and a line end after each: reserved, the text
    // never holds a grown copy and a half-empty buffer at once.
    std::size_t textSize() const
    {
        std::size_t size = 0;
        for (const PlacedLine& placed : placed_)
            size += placed.line->text.size() + 2;
        return size;
    }

    void measureColumns()
    {
        for (std::size_t i = 0; i < placed_.size(); ++i) {
            const std::size_t first = i > columnWindow ? i - columnWindow : 0;
            const std::size_t last = std::min(placed_.size() - 1, i + columnWindow);
            for (std::size_t j = first; j <= last; ++j) {
                if (placed_[j].block != placed_[i].block)
                    continue;
                placed_[i].columnLeft = std::min(placed_[i].columnLeft, placed_[j].line->left);
                placed_[i].columnRight = std::max(placed_[i].columnRight, placed_[j].line->right);
            }
        }
    }

    // The usual gap between lines of a column, as a share of the line height.
    double medianGap() const
    {
        std::vector<double> gaps;
        for (std::size_t i = 1; i < placed_.size(); ++i)
            if (placed_[i].block == placed_[i - 1].block)
                gaps.push_back(gapBetween(*placed_[i - 1].line, *placed_[i].line));
        if (gaps.empty())
            return 0;
        std::nth_element(gaps.begin(), gaps.begin() + gaps.size() / 2, gaps.end());
        return gaps[gaps.size() / 2];
    }

    static double gapBetween(const Line& above, const Line& below)
    {
        return (below.top - above.bottom) / std::max(above.height(), 1e-3);
    }

    // A hyphen after a letter, and a small letter to follow: one word broken.
    static bool endsInBrokenWord(const Line& above, const Line& below)
    {
        return endingHyphen(above.text) > 0 && u_islower(static_cast<UChar32>(firstCodePoint(below.text)));
    }

    bool endsParagraph(const PlacedLine& above, const PlacedLine& below, bool hyphenated) const
    {
        const Line& a = *above.line;
        const Line& b = *below.line;
        const double height = std::max(a.height(), b.height());
        if (b.rotation != a.rotation || !sameSize(a, b))
            return true;
        // Right-to-left lines start at the right edge: their indent and the
        // room a short line leaves are on the other side.
        const bool fromRight = b.rightToLeft;
        if (above.block == below.block) {
            if (gapBetween(a, b) > usualGap_ + 0.3 || (fromRight ? a.right - b.right : b.left - a.left) > height)
                return true;
        } else {
            const Block& block = blocks_[below.block];
            if (blocks_[above.block].lines < 2 || (fromRight ? block.right - b.right : b.left - block.left) > height)
                return true;
        }
        const double room = a.rightToLeft ? a.left - above.columnLeft : above.columnRight - a.right;
        return !hyphenated && room > b.firstWordWidth + 0.5 * a.height();
    }

    static void append(std::string& paragraph, const std::string& next, bool hyphenated)
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
    static void finish(const std::string& paragraph, std::string& out)
    {
        for (std::size_t i = 0; i < paragraph.size(); ++i) {
            if (paragraph.compare(i, 2, "\xC2\xAD") == 0)
                ++i;
            else
                out += paragraph[i];
        }
        out += "\r\n";
    }

    std::vector<Block> blocks_;
    std::vector<PlacedLine> placed_;
    double usualGap_ = 0;
    std::span<Anchor> anchors_;
    std::vector<std::size_t> anchorLines_;  // each anchor's line, counted over all pages
    std::map<std::size_t, std::size_t> chapterStarts_;  // a line that starts a chapter -> its offset
};

}  // namespace

std::string joinParagraphs(const std::vector<std::vector<Line>>& pages, std::span<Anchor> anchors)
{
    return Joiner(pages, anchors).text();
}

}  // namespace leafmill::extract::layout
