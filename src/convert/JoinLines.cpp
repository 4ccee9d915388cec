#include "convert/JoinLines.h"

#include "convert/HeadingLines.h"
#include "text/Utf8.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace leafmill {

namespace {

// Texts wrapped narrower than this are verse or tables, not wrapped prose.
constexpr std::size_t kNarrowestWrap = 40;
constexpr std::string_view kIdeographicSpace = "\u3000";

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

bool isWide(char32_t c)
{
    const auto width = u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_EAST_ASIAN_WIDTH);
    return width == U_EA_WIDE || width == U_EA_FULLWIDTH;
}

// The code point at `at`, U+FFFD for a broken sequence; `length` gets its bytes.
char32_t codePointAt(std::string_view text, std::size_t at, std::size_t* length)
{
    *length = validUtf8Length(text, at);
    if (*length == 0) {
        *length = 1;
        return 0xFFFD;
    }
    return decodeUtf8(text, at, *length);
}

// Columns, not bytes: an accented letter takes one, a Chinese, Japanese or
// Korean character two, as in the fixed-width text they were wrapped in.
std::size_t width(std::string_view line)
{
    std::size_t columns = 0;
    for (std::size_t at = 0, length = 0; at < line.size(); at += length)
        columns += isWide(codePointAt(line, at, &length)) ? 2 : 1;
    return columns;
}

bool isHangul(char32_t c)
{
    return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F) || (c >= 0xAC00 && c <= 0xD7AF);
}

// A Chinese or Japanese character or sign: no blank stands beside it. Korean
// parts its words with blanks, as Latin scripts do.
bool joinsWithoutBlank(std::string_view text, std::size_t at)
{
    std::size_t length = 0;
    const char32_t c = at < text.size() ? codePointAt(text, at, &length) : U' ';
    return isWide(c) && !isHangul(c);
}

// Where the last character of `text` starts.
std::size_t lastCharacter(std::string_view text)
{
    std::size_t at = text.size() - 1;
    while (at > 0 && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
        --at;
    return at;
}

// Blanks, tabs and ideographic spaces.
std::string_view withoutIndent(std::string_view line)
{
    for (;;) {
        if (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        else if (line.starts_with(kIdeographicSpace))
            line.remove_prefix(kIdeographicSpace.size());
        else
            return line;
    }
}

bool isBlank(std::string_view line)
{
    return withoutIndent(line).empty();
}

bool startsParagraph(std::string_view line)
{
    if (withoutIndent(line).size() != line.size())
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
        if (out.empty() || !(joinsWithoutBlank(out, lastCharacter(out)) || joinsWithoutBlank(lines[i + 1].text, 0)))
            out.push_back(' ');
    }
    return out;
}

}  // namespace leafmill
