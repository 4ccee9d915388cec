#include "extract/markdown/RawBlockLines.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace leafmill::extract {

namespace {

bool isBlank(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

bool sameLetter(char a, char b)
{
    return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
}

bool containsAny(std::string_view line, std::span<const std::string_view> marks)
{
    return std::ranges::any_of(marks, [&](std::string_view mark) {
        return std::search(line.begin(), line.end(), mark.begin(), mark.end(), sameLetter) != line.end();
    });
}

// Whether `text` starts with one of the tag names (in lower case) followed by
// white space, the line's end, ">" or "/>".
bool startsWithTag(std::string_view text, std::span<const std::string_view> names)
{
    return std::ranges::any_of(names, [&](std::string_view name) {
        if (text.size() < name.size() || !std::equal(name.begin(), name.end(), text.begin(), sameLetter))
            return false;
        const std::string_view after = text.substr(name.size());
        return after.empty() || std::string_view(" \t\v\f>").find(after[0]) != std::string_view::npos
            || after.starts_with("/>");
    });
}

bool isLetter(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) != 0;
}

constexpr std::array<std::string_view, 4> kVerbatimTags = {"script", "pre", "style", "textarea"};
constexpr std::array<std::string_view, 4> kVerbatimEnds = {"</script>", "</pre>", "</style>", "</textarea>"};
constexpr std::array<std::string_view, 1> kCommentEnd = {"-->"};
constexpr std::array<std::string_view, 1> kInstructionEnd = {"?>"};
constexpr std::array<std::string_view, 1> kDeclarationEnd = {">"};
constexpr std::array<std::string_view, 1> kCdataEnd = {"]]>"};
// HTML of these tags ends at a blank line, and may break into a paragraph.
constexpr std::array<std::string_view, 62> kBlockTags
    = {"address",  "article",    "aside",  "base",    "basefont", "blockquote", "body",     "caption",  "center",
       "col",      "colgroup",   "dd",     "details", "dialog",   "dir",        "div",      "dl",       "dt",
       "fieldset", "figcaption", "figure", "footer",  "form",     "frame",      "frameset", "h1",       "h2",
       "h3",       "h4",         "h5",     "h6",      "head",     "header",     "hr",       "html",     "iframe",
       "legend",   "li",         "link",   "main",    "menu",     "menuitem",   "nav",      "noframes", "ol",
       "optgroup", "option",     "p",      "param",   "section",  "source",     "summary",  "table",    "tbody",
       "td",       "tfoot",      "th",     "thead",   "title",    "tr",         "track",    "ul"};
// Tags that versions of CommonMark class apart.
constexpr std::array<std::string_view, 3> kDisputedTags = {"textarea", "source", "search"};

}  // namespace

void RawBlockLines::line(std::string_view line)
{
    const std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
    const std::string_view rest = line.substr(indent);
    switch (kind_) {
    case Kind::Fence: {
        const std::size_t run = std::min(rest.find_first_not_of(fenceMark_), rest.size());
        if (indent <= 3 && run >= fenceLength_ && isBlank(rest.substr(run)))
            kind_ = Kind::None;
        break;
    }
    case Kind::Marked:
        if (containsAny(line, endMarks_))
            kind_ = Kind::None;
        break;
    case Kind::UntilBlank:
        if (isBlank(line))
            kind_ = Kind::None;
        break;
    case Kind::None:
        // Indented, the line may be a list item's rather than the top level's.
        if (indent <= 3 && (opensFence(rest) || opensHtml(rest)) && indent > 0)
            unsure_ = true;
        break;
    }
}

bool RawBlockLines::opensFence(std::string_view rest)
{
    if (!rest.starts_with("```") && !rest.starts_with("~~~"))
        return false;
    const char mark = rest[0];
    const std::size_t length = std::min(rest.find_first_not_of(mark), rest.size());
    if (mark == '`' && rest.find('`', length) != std::string_view::npos)
        return false;
    kind_ = Kind::Fence;
    fenceMark_ = mark;
    fenceLength_ = length;
    return true;
}

bool RawBlockLines::opensHtml(std::string_view rest)
{
    if (!rest.starts_with('<'))
        return false;
    const std::string_view tag = rest.substr(rest.starts_with("</") ? 2 : 1);
    if (rest.starts_with("<!--")) {
        endMarks_ = kCommentEnd;
    } else if (rest.starts_with("<?")) {
        endMarks_ = kInstructionEnd;
    } else if (rest.starts_with("<![CDATA[")) {
        endMarks_ = kCdataEnd;
    } else if (rest.starts_with("<!") && rest.size() > 2 && isLetter(rest[2])) {
        // Declarations in lower case are HTML only to newer versions.
        if (std::islower(static_cast<unsigned char>(rest[2]))) {
            unsure_ = true;
            return false;
        }
        endMarks_ = kDeclarationEnd;
    } else if (startsWithTag(rest.substr(1), kVerbatimTags)) {
        endMarks_ = kVerbatimEnds;
        unsure_ = unsure_ || startsWithTag(rest.substr(1), kDisputedTags);
    } else if (startsWithTag(tag, kBlockTags)) {
        kind_ = Kind::UntilBlank;
        unsure_ = unsure_ || startsWithTag(tag, kDisputedTags);
        return true;
    } else if (!tag.empty() && isLetter(tag[0])) {
        // Any other tag is HTML only where no paragraph goes on.
        kind_ = Kind::UntilBlank;
        unsure_ = true;
        return true;
    } else {
        return false;
    }
    kind_ = containsAny(rest, endMarks_) ? Kind::None : Kind::Marked;
    return true;
}

}  // namespace leafmill::extract
