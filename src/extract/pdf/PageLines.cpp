#include "extract/pdf/PageLines.h"

#include <algorithm>

namespace leafmill::extract::pdf {

namespace {

bool startsNewLine(const Line& line, const Word& lastWord, const Word& word)
{
    if (word.rotation != line.rotation)
        return true;
    // A little overlap is kerning, not a step back.
    const double slack = 0.25 * (lastWord.bottom - lastWord.top);
    if (word.left < lastWord.right - slack)
        return true;
    const double middle = (word.top + word.bottom) / 2;
    return middle < line.top || middle > line.bottom;
}

Line lineOf(const Word& word)
{
    return Line {word.text, word.left, word.top, word.right, word.bottom, word.right - word.left, word.rotation};
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
            lines.push_back(lineOf(word));
        } else {
            Line& line = lines.back();
            if (last->spaceAfter)
                line.text += ' ';
            line.text += word.text;
            line.left = std::min(line.left, word.left);
            line.top = std::min(line.top, word.top);
            line.right = std::max(line.right, word.right);
            line.bottom = std::max(line.bottom, word.bottom);
        }
        last = &word;
    }
    // Every page's lines live until the paragraphs are joined: without the
    // room their text grew into, they take a quarter less.
    for (Line& line : lines)
        line.text.shrink_to_fit();
    lines.shrink_to_fit();
    return lines;
}

}  // namespace leafmill::extract::pdf
