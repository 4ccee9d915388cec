#include "convert/JoinLines.h"

#include "convert/HeadingLines.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace leafmill {

namespace {

// Texts wrapped narrower than this are verse or tables, not wrapped prose.
constexpr std::size_t kNarrowestWrap = 40;

struct Line {
    std::string_view text;  // without its line end
    std::string_view end;  // "\r\n", "\n", "\r" or empty at the end
};

std::vector<Line> splitLines(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t at = text.find_first_of("\r\n", start);
        if (at == std::string_view::npos) {
            lines.push_back({text.substr(start), {}});
            break;
        }
        const std::size_t endLength = text.compare(at, 2, "\r\n") == 0 ? 2 : 1;
        lines.push_back({text.substr(start, at - start), text.substr(at, endLength)});
        start = at + endLength;
    }
    return lines;
}

// Characters, not bytes: an accented letter counts one.
std::size_t width(std::string_view line)
{
    return static_cast<std::size_t>(
        std::count_if(line.begin(), line.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

bool isBlank(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool startsParagraph(std::string_view line)
{
    if (line.empty() || line.front() == ' ' || line.front() == '\t')
        return true;
    const auto first = static_cast<unsigned char>(line.front());
    if ((first == '-' || first == '*' || first == '+') && line.size() > 1 && line[1] == ' ')
        return true;
    // "1. ", "12) ": numbered list items.
    std::size_t digits = 0;
    while (digits < line.size() && std::isdigit(static_cast<unsigned char>(line[digits])))
        ++digits;
    return digits > 0 && digits + 1 < line.size() && (line[digits] == '.' || line[digits] == ')')
        && line[digits + 1] == ' ';
}

// The width most lines of the text are wrapped at: three quarters of its
// longer lines reach at least this.
std::size_t wrapWidth(const std::vector<Line>& lines)
{
    std::vector<std::size_t> widths;
    for (const Line& line : lines)
        if (!isBlank(line.text))
            widths.push_back(width(line.text));
    if (widths.size() < 4)
        return 0;
    std::sort(widths.begin(), widths.end());
    return widths[widths.size() * 3 / 4];
}

}  // namespace

std::string joinedLines(std::string_view text)
{
    const std::vector<Line> lines = splitLines(text);
    const std::size_t wrap = wrapWidth(lines);
    if (wrap < kNarrowestWrap)
        return std::string(text);
    // A line that comes within a sixth of the width was wrapped, not ended.
    const std::size_t wrapped = wrap - wrap / 6;
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        out.append(line.text);
        const bool last = i + 1 == lines.size();
        const bool joins = !last && !isBlank(line.text) && width(line.text) >= wrapped && !headingLevel(line.text)
            && !isBlank(lines[i + 1].text) && !startsParagraph(lines[i + 1].text) && !headingLevel(lines[i + 1].text);
        if (!joins) {
            out.append(line.end);
            continue;
        }
        while (!out.empty() && (out.back() == ' ' || out.back() == '\t'))
            out.pop_back();
        out.push_back(' ');
    }
    return out;
}

}  // namespace leafmill
