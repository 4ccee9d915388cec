#include "extract/layout/PageLines.h"

#include "extract/layout/ReadingOrder.h"
#include "extract/layout/Scripts.h"

#include <algorithm>

namespace leafmill::extract::layout {

namespace {

// Gaps as shares of the type size: where the PDF library starts a new word,
// and beyond the widest word space it allows, where columns part.
constexpr double wordGap = 0.1;
constexpr double cellGap = 1.5;

bool isOneCharacter(std::string_view utf8)
{
    return !utf8.empty() && std::all_of(utf8.begin() + 1, utf8.end(), [](char c) { return (c & 0xC0) == 0x80; });
}

bool startsNewLine(const Line& line, const Word& lastWord, const Word& word)
{
    if (word.rotation != line.rotation)
        return true;
    // An overlap of up to 0.4 of the type height is kerning, not a step
    // back; under a lone letter, up to 0.7 of its width (the raised A kerned
    // back under the L of the LaTeX logo).
    double slack = 0.4 * (lastWord.bottom - lastWord.top);
    if (isOneCharacter(lastWord.text))
        slack = std::max(slack, 0.7 * (lastWord.right - lastWord.left));
    if (word.left < lastWord.right - slack)
        return true;
    const double middle = (word.top + word.bottom) / 2;
    return middle < line.top || middle > line.bottom;
}

// What parts two words of a line. The library marks the spaces between the
// words of its own lines; words it put on lines of their own (a numbered
// heading's number, a table's cells) are parted by the gap between them.
std::string_view separator(const Word& last, const Word& word)
{
    const double gap = word.left - last.right;
    const double size = std::max(last.fontSize, word.fontSize);
    if (last.spaceAfter)
        return " ";
    if (gap > cellGap * size)
        return "\t";
    return gap > wordGap * size ? " " : "";
}

// Of Chinese or Japanese a line may break after any character: the first
// one is what would have fitted on the line before.
double firstFitWidth(const Word& word)
{
    const double width = word.right - word.left;
    if (!isCjk(firstCodePoint(word.text)))
        return width;
    return width / static_cast<double>(std::max<std::size_t>(1, codePointCount(word.text)));
}

Line lineOf(const Word& word)
{
    return Line {word.text, word.left, word.top, word.right, word.bottom, firstFitWidth(word), word.rotation};
}

// Right-to-left lines are read from their right end: their text is turned
// round and their first word is the rightmost one.
void putInReadingOrder(Line& line, const Word& rightmost)
{
    if (!holdsRightToLeft(line.text))
        return;
    line.text = readingOrder(line.text, line.rightToLeft);
    if (line.rightToLeft)
        line.firstWordWidth = rightmost.right - rightmost.left;
}

}  // namespace

std::vector<Line> groupIntoLines(const std::vector<Word>& words)
{
    std::vector<Line> lines;
    const Word* last = nullptr;
    for (const Word& word : words) {
        if (word.text.empty())
            continue;
        if (last == nullptr || startsNewLine(lines.back(), *last, word)) {
            if (last != nullptr)
                putInReadingOrder(lines.back(), *last);
            lines.push_back(lineOf(word));
        } else {
            Line& line = lines.back();
            line.text += separator(*last, word);
            line.text += word.text;
            line.left = std::min(line.left, word.left);
            line.top = std::min(line.top, word.top);
            line.right = std::max(line.right, word.right);
            line.bottom = std::max(line.bottom, word.bottom);
        }
        last = &word;
    }
    if (last != nullptr)
        putInReadingOrder(lines.back(), *last);
    return lines;
}

}  // namespace leafmill::extract::layout
