#include "convert/JoinLines.h"

#include "convert/HeadingLines.h"
#include "text/Utf8.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cctype>

namespace leafmill {

namespace {

// Texts wrapped narrower than this are verse or tables, not wrapped prose.
constexpr std::size_t kNarrowestWrap = 40;
constexpr std::string_view kIdeographicSpace = "\u3000";

struct Line {
    std::string_view text;  // without its line end
    std::string_view end;  // "\r\n", "\n", "\r" or empty at the end
};

// Calls `each` for every whole line of the text told so far: `carry` with
// `piece`. A line whose end is not known yet (none, or a CR that an LF may
// follow) waits in `carry` for the next piece, unless the text ends there.
template <typename Each> void forEachLine(std::string& carry, std::string_view piece, bool last, Each&& each)
{
    std::string held;
    std::string_view text = piece;
    if (!carry.empty()) {
        held = std::move(carry);
        held.append(piece);
        text = held;
    }
    carry.clear();
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t at = text.find_first_of("\r\n", start);
        const bool open = at == std::string_view::npos || (text[at] == '\r' && at + 1 == text.size());
        if (open && !last) {
            carry.assign(text.substr(start));
            return;
        }
        if (at == std::string_view::npos) {
            each(Line {text.substr(start), {}});
            return;
        }
        const std::size_t endLength = text.compare(at, 2, "\r\n") == 0 ? 2 : 1;
        each(Line {text.substr(start, at - start), text.substr(at, endLength)});
        start = at + endLength;
    }
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

// Whether the line, which reaches the wrapping width, goes on into the next.
bool goesOn(std::string_view line, std::string_view next)
{
    return !isBlank(line) && !headingLevel(line) && !isBlank(next) && !startsParagraph(next) && !headingLevel(next);
}

}  // namespace

void WrapWidth::add(std::string_view piece)
{
    forEachLine(carry_, piece, false, [this](const Line& line) {
        if (!isBlank(line.text)) {
            ++lines_[width(line.text)];
            ++count_;
        }
    });
}

std::size_t WrapWidth::measured()
{
    forEachLine(carry_, {}, true, [this](const Line& line) {
        if (!isBlank(line.text)) {
            ++lines_[width(line.text)];
            ++count_;
        }
    });
    if (count_ < 4)
        return 0;
    // The width of the line at three quarters of the lines sorted by width.
    std::size_t below = count_ * 3 / 4;
    for (const auto& [columns, lines] : lines_) {
        if (below < lines)
            return columns;
        below -= lines;
    }
    return 0;
}

LineJoiner::LineJoiner(std::size_t wrapWidth)
    // A line that comes within a sixth of the width was wrapped, not ended.
    : wrapped_(wrapWidth < kNarrowestWrap ? 0 : wrapWidth - wrapWidth / 6)
{
}

std::string LineJoiner::add(std::string_view piece)
{
    if (wrapped_ == 0)
        return std::string(piece);
    std::string out;
    out.reserve(piece.size() + pending_.size());
    joinLines(piece, false, out);
    return out;
}

std::string LineJoiner::finish()
{
    std::string out;
    if (wrapped_ == 0)
        return out;
    joinLines({}, true, out);
    if (hasPending_)
        out.append(pending_);
    hasPending_ = false;
    return out;
}

void LineJoiner::joinLines(std::string_view piece, bool last, std::string& out)
{
    forEachLine(carry_, piece, last, [&](const Line& next) {
        if (hasPending_) {
            std::string_view line = std::string_view(pending_).substr(0, pendingText_);
            if (width(line) < wrapped_ || !goesOn(line, next.text)) {
                out.append(pending_);
            } else {
                while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
                    line.remove_suffix(1);
                out.append(line);
                if (!(joinsWithoutBlank(line, lastCharacter(line)) || joinsWithoutBlank(next.text, 0)))
                    out.push_back(' ');
            }
        }
        pending_.assign(next.text);
        pending_.append(next.end);
        pendingText_ = next.text.size();
        hasPending_ = true;
    });
}

std::string joinedLines(std::string_view text)
{
    WrapWidth wrap;
    wrap.add(text);
    LineJoiner joiner(wrap.measured());
    std::string out = joiner.add(text);
    out += joiner.finish();
    return out;
}

}  // namespace leafmill
