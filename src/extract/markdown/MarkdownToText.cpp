#include "extract/markdown/MarkdownToText.h"

#include "extract/common/TextDocument.h"
#include "extract/package/TextBuilder.h"

#include <cmark.h>

#include <memory>
#include <string>
#include <vector>

namespace leafmill::extract {

namespace {

using package::TextBuilder;

constexpr int kDeepestChapter = 3;

std::string_view trimmedLine(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

// The text after a YAML front matter: a "---" line at the very start, not
// followed by a blank line, up to the next "---" or "..." line.
std::string_view withoutFrontMatter(std::string_view text)
{
    const std::size_t first = text.find('\n');
    if (first == std::string_view::npos || trimmedLine(text.substr(0, first)) != "---")
        return text;
    for (std::size_t at = first + 1; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        const std::string_view line = trimmedLine(text.substr(at, end - at));
        if (at == first + 1 && line.empty())
            return text;
        if (line == "---" || line == "...")
            return text.substr(std::min(end + 1, text.size()));
        at = end + 1;
    }
    return text;
}

// An open list: the number of its next item, or none for a bulleted one.
struct OpenList {
    bool ordered = false;
    int next = 1;
    bool parenthesis = false;
};

void appendCode(TextBuilder& out, std::string_view code)
{
    out.endParagraph();
    while (!code.empty()) {
        const std::size_t end = std::min(code.find('\n'), code.size());
        out.append(code.substr(0, end), TextBuilder::Space::Preserve);
        out.lineBreak();
        code.remove_prefix(std::min(end + 1, code.size()));
    }
    out.endParagraph();
}

// Pipe tables (GitHub's, which CommonMark lacks) come as paragraphs whose
// lines start with "|".
bool isPipeTable(cmark_node* paragraph)
{
    cmark_node* first = cmark_node_first_child(paragraph);
    const char* literal = first ? cmark_node_get_literal(first) : nullptr;
    return literal && literal[0] == '|';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return trimmedLine(text);
}

// A pipe table's rows as written, a line each with their cells parted by
// TAB; the row under the header, of dashes, shows nothing.
void appendPipeRows(TextBuilder& out, std::string_view rows)
{
    while (!rows.empty()) {
        const std::size_t end = std::min(rows.find('\n'), rows.size());
        std::string_view row = trimmed(rows.substr(0, end));
        rows.remove_prefix(std::min(end + 1, rows.size()));
        if (row.find_first_not_of("|-: \t") == std::string_view::npos)
            continue;
        row.remove_prefix(row.starts_with('|') ? 1 : 0);
        row.remove_suffix(row.ends_with('|') ? 1 : 0);
        out.endParagraph();
        for (bool first = true; !row.empty() || first; first = false) {
            const std::size_t bar = std::min(row.find('|'), row.size());
            if (!first)
                out.tab();
            out.append(trimmed(row.substr(0, bar)));
            row.remove_prefix(std::min(bar + 1, row.size()));
        }
        out.endParagraph();
    }
}

// The source lines from `first` to `last` (counted from 1). The nodes come
// in the order of their lines: the walk goes on from the last line asked
// for, so that a document of many list items is not read again from its
// start for each.
class SourceLines {
public:
    explicit SourceLines(std::string_view text)
        : text_(text)
    {
    }

    std::string_view lines(int first, int last)
    {
        if (first < line_) {
            line_ = 1;
            from_ = 0;
        }
        for (; line_ < first && from_ < text_.size(); ++line_)
            from_ = nextLine(from_);
        std::size_t to = from_;
        for (int line = first; line <= last && to < text_.size(); ++line)
            to = nextLine(to);
        return text_.substr(from_, to - from_);
    }

private:
    std::size_t nextLine(std::size_t at) const { return std::min(text_.find('\n', at), text_.size() - 1) + 1; }

    std::string_view text_;
    int line_ = 1;  // the line that starts at from_, or the last one the text has
    std::size_t from_ = 0;
};

// An item's label: its number, or the bullet it is written with.
std::string itemLabel(OpenList& list, cmark_node* item, SourceLines& source)
{
    if (list.ordered)
        return std::to_string(list.next++) + (list.parenthesis ? ") " : ". ");
    const int line = cmark_node_get_start_line(item);
    const std::string_view written = source.lines(line, line);
    const auto column = static_cast<std::size_t>(cmark_node_get_start_column(item));
    return std::string(column >= 1 && column <= written.size() ? written.substr(column - 1, 1) : "-") + " ";
}

// Hands the text on between the document's nodes.
void writeTree(cmark_node* document, std::string_view text, TextBuilder& out, const Options& options)
{
    SourceLines source(text);
    std::vector<OpenList> lists;
    const std::unique_ptr<cmark_iter, decltype(&cmark_iter_free)> walk(cmark_iter_new(document), &cmark_iter_free);
    for (cmark_event_type event; (event = cmark_iter_next(walk.get())) != CMARK_EVENT_DONE;) {
        out.handOn(options);
        cmark_node* node = cmark_iter_get_node(walk.get());
        const bool entering = event == CMARK_EVENT_ENTER;
        const char* literal = cmark_node_get_literal(node);
        switch (cmark_node_get_type(node)) {
        case CMARK_NODE_HEADING:
            out.endParagraph();
            if (entering && cmark_node_get_heading_level(node) <= kDeepestChapter)
                out.startHeading(cmark_node_get_heading_level(node));
            break;
        case CMARK_NODE_LIST:
            if (entering)
                lists.push_back({cmark_node_get_list_type(node) == CMARK_ORDERED_LIST, cmark_node_get_list_start(node),
                                 cmark_node_get_list_delim(node) == CMARK_PAREN_DELIM});
            else
                lists.pop_back();
            out.endParagraph();
            break;
        case CMARK_NODE_ITEM:
            out.endParagraph();
            if (entering && !lists.empty())
                out.appendLabel(itemLabel(lists.back(), node, source));
            break;
        case CMARK_NODE_CODE_BLOCK:
            appendCode(out, literal ? literal : "");
            break;
        case CMARK_NODE_TEXT:
        case CMARK_NODE_CODE:
            out.append(literal ? literal : "");
            break;
        case CMARK_NODE_SOFTBREAK:
            out.append(" ");
            break;
        case CMARK_NODE_LINEBREAK:
            out.lineBreak();
            break;
        case CMARK_NODE_PARAGRAPH:
            out.endParagraph();
            if (entering && isPipeTable(node)) {
                appendPipeRows(out, source.lines(cmark_node_get_start_line(node), cmark_node_get_end_line(node)));
                cmark_iter_reset(walk.get(), node, CMARK_EVENT_EXIT);
            }
            break;
        case CMARK_NODE_BLOCK_QUOTE:
        case CMARK_NODE_THEMATIC_BREAK:
        case CMARK_NODE_HTML_BLOCK:
            out.endParagraph();
            break;
        default:
            // Emphasis, links and pictures give their text; inline HTML nothing.
            break;
        }
    }
}

}  // namespace

Result markdownToText(std::string_view bytes, const Options& options)
{
    const DecodedText decoded = decodeTextDocument(bytes, options);
    const std::string_view text = withoutFrontMatter(decoded.text);
    const std::unique_ptr<cmark_node, decltype(&cmark_node_free)> document(
        cmark_parse_document(text.data(), text.size(), CMARK_OPT_VALIDATE_UTF8 | CMARK_OPT_SOURCEPOS),
        &cmark_node_free);
    if (!document)
        return Result::failure("there is not enough memory to read the document");
    TextBuilder out;
    writeTree(document.get(), text, out, options);
    Result result = out.take();
    result.readAs = decoded.readAs;
    return result;
}

}  // namespace leafmill::extract
