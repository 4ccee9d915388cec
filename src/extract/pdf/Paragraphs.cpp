#include "extract/pdf/Paragraphs.h"

#include <unicode/uchar.h>
#include <unicode/uscript.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cmath>
#include <string_view>

namespace leafmill::extract::pdf {

namespace {

// A run of lines that follow each other down one column.
struct Block {
    double left = 0;
    std::size_t lines = 0;
};

struct PlacedLine {
    const Line* line;
    std::size_t block;
    // Where the column ends around this line: the widest of its neighbours,
    // so that a narrow column below full-width text is measured by itself.
    double columnRight = 0;
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

char32_t lastCodePoint(std::string_view text)
{
    if (text.empty())
        return 0;
    auto i = static_cast<int32_t>(text.size());
    UChar32 c = 0;
    U8_PREV(reinterpret_cast<const uint8_t*>(text.data()), 0, i, c);
    return c < 0 ? 0 : static_cast<char32_t>(c);
}

char32_t firstCodePoint(std::string_view text)
{
    int32_t i = 0;
    UChar32 c = 0;
    if (!text.empty())
        U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), i, static_cast<int32_t>(text.size()), c);
    return c < 0 ? 0 : static_cast<char32_t>(c);
}

// Scripts written without spaces between words, and their punctuation.
bool isCjk(char32_t c)
{
    if ((c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFFEF))
        return true;
    UErrorCode status = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(static_cast<UChar32>(c), &status);
    return script == USCRIPT_HAN || script == USCRIPT_HIRAGANA || script == USCRIPT_KATAKANA;
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
    explicit Joiner(const std::vector<std::vector<Line>>& pages)
    {
        for (const auto& lines : pages) {
            const Line* previous = nullptr;
            for (const Line& line : lines) {
                if (previous == nullptr || !followsInColumn(*previous, line))
                    blocks_.push_back({line.left, 0});
                Block& block = blocks_.back();
                block.left = std::min(block.left, line.left);
                ++block.lines;
                placed_.push_back({&line, blocks_.size() - 1, line.right});
                previous = &line;
            }
        }
        measureColumns();
        usualGap_ = medianGap();
    }

    std::string text() const
    {
        std::string out;
        out.reserve(textSize());
        std::string paragraph;
        for (std::size_t i = 0; i < placed_.size(); ++i) {
            const Line& line = *placed_[i].line;
            if (i == 0) {
                paragraph = line.text;
                continue;
            }
            const PlacedLine& above = placed_[i - 1];
            const bool hyphenated = endsInBrokenWord(*above.line, line);
            if (endsParagraph(above, placed_[i], hyphenated)) {
                finish(paragraph, out);
                paragraph = line.text;
            } else {
                append(paragraph, line.text, hyphenated);
            }
        }
        if (!placed_.empty())
            finish(paragraph, out);
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
            for (std::size_t j = first; j <= last; ++j)
                if (placed_[j].block == placed_[i].block)
                    placed_[i].columnRight = std::max(placed_[i].columnRight, placed_[j].line->right);
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
        if (above.block == below.block) {
            if (gapBetween(a, b) > usualGap_ + 0.3 || b.left - a.left > height)
                return true;
        } else if (blocks_[above.block].lines < 2 || b.left - blocks_[below.block].left > height) {
            return true;
        }
        const double room = above.columnRight - a.right;
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
};

}  // namespace

std::string joinParagraphs(const std::vector<std::vector<Line>>& pages)
{
    return Joiner(pages).text();
}

}  // namespace leafmill::extract::pdf
