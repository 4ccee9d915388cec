#include "extract/markup/HtmlLineFilter.h"

#include "extract/common/HtmlEntities.h"
#include "extract/markup/LineEdits.h"
#include "extract/markup/LineReader.h"
#include "text/AsciiCase.h"
#include "text/CodePage.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <utility>

namespace leafmill::extract {

namespace {

// Lines are joined in search of a block's end tag only up to this many bytes
// of the code page, so that an unclosed <script> does not swallow the page.
constexpr std::uint64_t kJoinLimit = 65536;

constexpr std::string_view kCommentOpen = "<!--";
constexpr std::string_view kCommentClose = "-->";

// Whether the start or end tag whose '<' is at line[lt] belongs to an element
// that stands between words (table cells, list items, blocks): removing it
// must not glue "<td>red</td><td>green</td>" into "redgreen".
bool separatesWords(std::string_view line, std::size_t lt)
{
    // Sorted, for the binary search.
    static constexpr std::string_view kNames[]
        = {"address", "article",  "aside",      "blockquote", "caption", "center", "dd",    "div",  "dl",
           "dt",      "fieldset", "figcaption", "figure",     "footer",  "form",   "h1",    "h2",   "h3",
           "h4",      "h5",       "h6",         "header",     "hr",      "legend", "li",    "main", "nav",
           "ol",      "option",   "p",          "pre",        "section", "table",  "tbody", "td",   "tfoot",
           "th",      "thead",    "title",      "tr",         "ul"};
    constexpr std::size_t kLongest = 10;  // "blockquote", "figcaption"
    std::size_t pos = lt + 1;
    if (pos < line.size() && line[pos] == '/')
        ++pos;
    char name[kLongest];
    std::size_t length = 0;
    for (; pos < line.size() && std::isalnum(static_cast<unsigned char>(line[pos])); ++pos) {
        if (length == kLongest)
            return false;
        name[length++] = asciiLower(line[pos]);
    }
    return std::binary_search(std::begin(kNames), std::end(kNames), std::string_view(name, length));
}

// Where a script or style block opens, and the end tag that closes it. Both
// kinds are taken in the order they come, so that the lines joined in search
// of one block's end are searched for the other.
struct BlockStart {
    std::size_t at = std::string_view::npos;
    std::size_t openSize = 0;
    std::string_view close;
};

// Finds the blocks of a line in turn. Each kind's next start is looked up
// again only once it is passed, or past where the line ended when there was
// none: a line of many blocks of one kind and none of the other, or one that
// grows by joins, stays linear.
class BlockFinder {
public:
    BlockStart next(std::string_view line, std::size_t from)
    {
        BlockStart first;
        for (std::size_t kind = 0; kind < std::size(kBlocks); ++kind) {
            const std::string_view open = kBlocks[kind][0];
            Found& found = found_[kind];
            if (found.at == std::string_view::npos ? found.searchedTo < line.size() : found.at < from) {
                const std::size_t overlap = open.size() - 1;
                const std::size_t start = found.at == std::string_view::npos && found.searchedTo > overlap
                    ? std::max(from, found.searchedTo - overlap)
                    : from;
                found = {findNoCase(line, open, start), line.size()};
            }
            if (found.at < first.at)
                first = {found.at, open.size(), kBlocks[kind][1]};
        }
        return first;
    }

private:
    static constexpr std::string_view kBlocks[][2] = {{"<script", "</script>"}, {"<style", "</style>"}};
    struct Found {
        std::size_t at = std::string_view::npos;
        std::size_t searchedTo = 0;  // the line's size when it was looked for
    };
    Found found_[std::size(kBlocks)];
};

bool isAscii(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::uint64_t codePageLength(const CodePage& codePage, std::string_view utf8)
{
    if (codePage.isUtf8())
        return utf8.size();
    if (codePage.isSingleByte()) {
        // One byte per character: count the bytes that start one.
        return static_cast<std::uint64_t>(std::count_if(
            utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    }
    return isAscii(utf8) ? utf8.size() : codePage.fromUtf8(utf8).size();
}

HtmlLineFilter::HtmlLineFilter(const CodePage& codePage, std::function<void(int)> progress, std::uint64_t textLength)
    : codePage_(codePage)
    , textLength_(textLength)
    , progress_(std::move(progress))
{
}

bool HtmlLineFilter::filterLine(LineReader& lines, std::string& out)
{
    if (lines.exhausted())
        return false;
    std::string line(lines.next());
    bool continues = lines.continues();
    line = withoutBlocks(std::move(line), lines, continues);
    if (continues)
        line_.length += codePageLength(line);
    line = squeezeSpaces(replaceBreakTags(line));
    // A segment that ends in '>' is never blank; one left blank by a removed
    // block is a part of its line all the same.
    if (isBlank(line) && !continues && !line_.started)
        return true;
    line_.started = true;
    countLine(line, continues);

    std::string kept = decodedReferences(keepOutsideTags(line), continues);
    // Removed tags and decoded &nbsp; can leave spaces side by side.
    write(collapseLineBreaks(squeezeSpaces(kept)), continues, out);
    if (!continues)
        line_ = {};
    return true;
}

std::string HtmlLineFilter::withoutBlocks(std::string line, LineReader& lines, bool& continues) const
{
    BlockFinder blocks;
    BlockStart block = blocks.next(line, 0);
    if (block.at == std::string::npos)
        return line;

    std::string out;
    std::size_t done = 0;  // line[done..] is not yet filtered
    // The end tag is looked for after the opening tag, and after a join only
    // in what the join added (with room for an end tag split by the join).
    std::size_t closeFrom = block.at + block.openSize;
    // The code-page length of out + line[done..], known once joining starts.
    std::optional<std::uint64_t> joinedLength;
    while (block.at != std::string::npos) {
        const std::size_t end = findNoCase(line, block.close, closeFrom);
        if (end != std::string::npos) {
            const std::size_t after = end + block.close.size();
            if (joinedLength)
                *joinedLength -= codePageLength(std::string_view(line).substr(block.at, after - block.at));
            out.append(line, done, block.at - done);
            done = after;
            block = blocks.next(line, done);
            closeFrom = block.at + block.openSize;
            continue;
        }
        // The rest of a line in segments is part of it, whatever its length;
        // only whole lines are joined in search of the end tag.
        if (!continues) {
            if (!joinedLength)
                joinedLength = line_.length + codePageLength(out) + codePageLength(std::string_view(line).substr(done));
            if (lines.exhausted() || *joinedLength > kJoinLimit)
                break;
        }
        closeFrom = std::max(closeFrom, line.size() - std::min(line.size(), block.close.size() - 1));
        const std::string_view next = lines.next();
        continues = lines.continues();
        if (joinedLength)
            *joinedLength += codePageLength(next);
        line.append(next);
    }
    out.append(line, done);
    return out;
}

void HtmlLineFilter::countLine(std::string_view line, bool continues)
{
    bytesDone_ += codePageLength(line) + (continues ? 0 : 2);
    if (textLength_ == 0 || !progress_)
        return;
    // Line ends of one byte count 2 and may carry the sum past the length.
    const auto percent = static_cast<int>(std::min<std::uint64_t>(100, bytesDone_ * 100 / textLength_));
    if (percent != lastPercent_) {
        lastPercent_ = percent;
        progress_(percent);
    }
}

std::string HtmlLineFilter::keepOutsideTags(std::string_view line)
{
    std::string kept;
    kept.reserve(line.size());
    // A space owed to a removed tag that parts words (line_.spaceOwed) is paid
    // before the next kept text unless a space or line start is already there.
    std::size_t pos = 0;
    while (pos < line.size()) {
        if (markup_ != Markup::Text) {
            const bool comment = markup_ == Markup::Comment;
            const std::size_t end = comment ? line.find(kCommentClose, pos) : line.find('>', pos);
            if (end == std::string_view::npos)
                break;
            pos = end + (comment ? kCommentClose.size() : 1);
            markup_ = Markup::Text;
            continue;
        }
        const std::size_t mark = line.find_first_of("<>", pos);
        const std::string_view text
            = line.substr(pos, mark == std::string_view::npos ? std::string_view::npos : mark - pos);
        if (line_.spaceOwed && !text.empty()) {
            if (line_.lastKept != '\0' && line_.lastKept != ' ' && line_.lastKept != '\n' && text.front() != ' '
                && text.front() != '\r')
                kept.push_back(' ');
            line_.spaceOwed = false;
        }
        kept.append(text);
        if (!text.empty())
            line_.lastKept = text.back();
        if (mark == std::string_view::npos)
            break;
        pos = mark + 1;
        if (line[mark] == '>')
            continue;  // a stray '>' is dropped like any tag mark
        if (line.substr(mark, kCommentOpen.size()) != kCommentOpen) {
            markup_ = Markup::Tag;
            line_.spaceOwed = line_.spaceOwed || separatesWords(line, mark);
            continue;
        }
        // A comment ends only at "-->", however many '>' it holds; "<!-->"
        // and "<!--->" are empty comments.
        pos = mark + kCommentOpen.size();
        markup_ = Markup::Comment;
        if (line.substr(pos, 1) == ">" || line.substr(pos, 2) == "->") {
            pos += line[pos] == '>' ? 1 : 2;
            markup_ = Markup::Text;
        }
    }
    return kept;
}

// A reference cut by the end of a segment is decoded with the next one. A
// run of name characters after a '&' that goes on over many segments is
// added to, never copied whole again: the line stays linear.
std::string HtmlLineFilter::decodedReferences(std::string kept, bool continues)
{
    const auto inReference = [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '#'; };
    std::string text = std::exchange(line_.referenceStart, {});
    if (continues) {
        const std::size_t amp = kept.rfind('&');
        if (amp == std::string::npos && !text.empty() && std::all_of(kept.begin(), kept.end(), inReference)) {
            line_.referenceStart = std::move(text.append(kept));
            return {};
        }
        if (amp != std::string::npos
            && std::all_of(kept.begin() + static_cast<std::ptrdiff_t>(amp) + 1, kept.end(), inReference)) {
            line_.referenceStart.assign(kept, amp);
            kept.resize(amp);
        }
    }
    std::string decoded;
    appendDecodingReferences(text.empty() ? kept : text.append(kept), decoded);
    return decoded;
}

// Writes a line's text, or a segment's, but a blank line not at all: the
// runs of spaces and of line breaks that meet at a cut are squeezed as on
// the whole line.
void HtmlLineFilter::write(std::string_view kept, bool continues, std::string& out)
{
    if (line_.tail.ends_with(' ') && kept.starts_with(' '))
        kept.remove_prefix(1);
    if (line_.tail.ends_with("\r\n"))
        while (kept.starts_with("\r\n"))
            kept.remove_prefix(2);
    line_.tail.append(kept.substr(kept.size() - std::min<std::size_t>(kept.size(), 2)));
    line_.tail.erase(0, line_.tail.size() - std::min<std::size_t>(line_.tail.size(), 2));
    if (line_.written) {
        out.append(kept);
    } else {
        line_.blankStart.append(kept);
        if (!isBlank(line_.blankStart)) {
            out.append(line_.blankStart);
            line_.blankStart.clear();
            line_.written = true;
        }
    }
    if (!continues && line_.written)
        out.append("\r\n");
}

std::uint64_t HtmlLineFilter::codePageLength(std::string_view utf8) const
{
    return extract::codePageLength(codePage_, utf8);
}

}  // namespace leafmill::extract
