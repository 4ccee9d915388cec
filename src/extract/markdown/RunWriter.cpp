#include "extract/markdown/RunWriter.h"

#include "extract/markdown/PipeTable.h"

#include <cmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace leafmill::extract {

namespace {

using package::TextBuilder;
using OpenList = RunWriter::OpenList;

constexpr int kDeepestChapter = 3;

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

// The source lines from `first` to `last` (counted from 1, each ended by CR,
// LF or CR LF as the parser counts them). The nodes come in the order of
// their lines: the walk goes on from the last line asked for, so that a
// document of many list items is not read again from its start for each.
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

    // The character at a node's start.
    char at(cmark_node* node)
    {
        const int line = cmark_node_get_start_line(node);
        const std::string_view written = lines(line, line);
        const auto column = static_cast<std::size_t>(cmark_node_get_start_column(node));
        return column >= 1 && column <= written.size() ? written[column - 1] : '-';
    }

private:
    std::size_t nextLine(std::size_t at) const
    {
        const std::size_t end = text_.find_first_of("\r\n", at);
        if (end == std::string_view::npos)
            return text_.size();
        return end + (text_.substr(end).starts_with("\r\n") ? 2 : 1);
    }

    std::string_view text_;
    int line_ = 1;  // the line that starts at from_, or the last one the text has
    std::size_t from_ = 0;
};

OpenList openedList(cmark_node* list, SourceLines& source)
{
    if (cmark_node_get_list_type(list) == CMARK_ORDERED_LIST)
        return {true, cmark_node_get_list_start(list), cmark_node_get_list_delim(list) == CMARK_PAREN_DELIM, 0};
    return {false, 1, false, source.at(list)};
}

// Whether the parser would take `list`'s items for more of `before`'s.
bool goesOn(const OpenList& before, const OpenList& list)
{
    return before.ordered == list.ordered && before.parenthesis == list.parenthesis && before.bullet == list.bullet;
}

// An item's label: its number, or the bullet it is written with.
std::string itemLabel(OpenList& list, cmark_node* item, SourceLines& source)
{
    if (list.ordered)
        return std::to_string(list.next++) + (list.parenthesis ? ") " : ". ");
    return std::string(1, source.at(item)) + " ";
}

}  // namespace

void RunWriter::write(cmark_node* document, std::string_view source, int firstLine)
{
    SourceLines lines(source);
    const std::optional<OpenList> before = std::exchange(lastList_, std::nullopt);
    std::vector<OpenList> lists;
    const std::unique_ptr<cmark_iter, decltype(&cmark_iter_free)> walk(cmark_iter_new(document), &cmark_iter_free);
    for (cmark_event_type event; (event = cmark_iter_next(walk.get())) != CMARK_EVENT_DONE;) {
        out_.handOn(options_);
        cmark_node* node = cmark_iter_get_node(walk.get());
        const bool entering = event == CMARK_EVENT_ENTER;
        const char* literal = cmark_node_get_literal(node);
        switch (cmark_node_get_type(node)) {
        case CMARK_NODE_HEADING:
            out_.endParagraph();
            if (entering && cmark_node_get_heading_level(node) <= kDeepestChapter)
                out_.startHeading(cmark_node_get_heading_level(node));
            break;
        case CMARK_NODE_LIST: {
            const bool topLevel = cmark_node_parent(node) == document;
            if (entering) {
                lists.push_back(openedList(node, lines));
                // Starting the run, it goes on with the list the run before left open.
                if (before && topLevel && cmark_node_get_start_line(node) == firstLine && goesOn(*before, lists.back()))
                    lists.back().next = before->next;
            } else {
                // Open to the run's end, it takes the items that follow.
                if (topLevel && cmark_node_get_end_line(node) == cmark_node_get_end_line(document))
                    lastList_ = lists.back();
                lists.pop_back();
            }
            out_.endParagraph();
            break;
        }
        case CMARK_NODE_ITEM:
            out_.endParagraph();
            if (entering && !lists.empty())
                out_.appendLabel(itemLabel(lists.back(), node, lines));
            break;
        case CMARK_NODE_CODE_BLOCK:
            appendCode(out_, literal ? literal : "");
            break;
        case CMARK_NODE_TEXT:
        case CMARK_NODE_CODE:
            out_.append(literal ? literal : "");
            break;
        case CMARK_NODE_SOFTBREAK:
            out_.append(" ");
            break;
        case CMARK_NODE_LINEBREAK:
            out_.lineBreak();
            break;
        case CMARK_NODE_PARAGRAPH:
            out_.endParagraph();
            if (entering && cmark_node_get_start_line(node) < cmark_node_get_end_line(node)) {
                const PipeTable table(lines.lines(cmark_node_get_start_line(node), cmark_node_get_end_line(node)),
                                      cmark_node_get_start_column(node));
                if (table.isTable()) {
                    table.write(out_);
                    cmark_iter_reset(walk.get(), node, CMARK_EVENT_EXIT);
                }
            }
            break;
        case CMARK_NODE_BLOCK_QUOTE:
        case CMARK_NODE_THEMATIC_BREAK:
        case CMARK_NODE_HTML_BLOCK:
            out_.endParagraph();
            break;
        default:
            // Emphasis, links and pictures give their text; inline HTML nothing.
            break;
        }
    }
}

}  // namespace leafmill::extract
