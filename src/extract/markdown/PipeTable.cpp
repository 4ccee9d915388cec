#include "extract/markdown/PipeTable.h"

#include <cmark.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace leafmill::extract {

namespace {

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

std::string_view trimmed(std::string_view text)
{
    const std::size_t first = std::min(text.find_first_not_of(" \t"), text.size());
    const std::size_t last = text.find_last_not_of("\r \t", std::string_view::npos);
    return last == std::string_view::npos || last < first ? std::string_view() : text.substr(first, last + 1 - first);
}

// A row's cells as written: parted by the bars that no backslash escapes,
// the outer bars left out; "\|" stands for a bar inside a cell.
std::vector<std::string> cellsOf(std::string_view row)
{
    row = trimmed(row);
    row.remove_prefix(row.starts_with('|') ? 1 : 0);
    if (row.ends_with('|') && !row.ends_with("\\|"))
        row.remove_suffix(1);
    std::vector<std::string> cells(1);
    for (std::size_t at = 0; at < row.size(); ++at) {
        if (row[at] == '\\' && at + 1 < row.size() && row[at + 1] == '|') {
            cells.back() += '|';
            ++at;
        } else if (row[at] == '|') {
            cells.emplace_back();
        } else {
            cells.back() += row[at];
        }
    }
    for (std::string& cell : cells)
        cell = std::string(trimmed(cell));
    return cells;
}

bool isDelimiterRow(const std::vector<std::string>& cells)
{
    return std::all_of(cells.begin(), cells.end(), [](std::string_view cell) {
        cell.remove_prefix(cell.starts_with(':') ? 1 : 0);
        cell.remove_suffix(cell.ends_with(':') ? 1 : 0);
        return !cell.empty() && cell.find_first_not_of('-') == std::string_view::npos;
    });
}

// Up to `count` lines (ended by CR, LF or CR LF) without the marks of the
// blocks around them: the first starts at `indent`, the others after at
// most `indent` blanks and '>'.
std::vector<std::string_view> rowLines(std::string_view lines, std::size_t indent, std::size_t count)
{
    std::vector<std::string_view> rows;
    while (!lines.empty() && rows.size() < count) {
        const std::size_t end = std::min(lines.find_first_of("\r\n"), lines.size());
        const std::string_view line = lines.substr(0, end);
        lines.remove_prefix(std::min(end + (lines.substr(end).starts_with("\r\n") ? 2 : 1), lines.size()));
        const std::size_t marks = rows.empty() ? indent : line.find_first_not_of(" \t>");
        rows.push_back(line.substr(std::min({marks, indent, line.size()})));
    }
    return rows;
}

// The text of a cell's inline Markdown, parsed as a paragraph of its own.
std::string inlineText(cmark_node* paragraph)
{
    std::string text;
    const std::unique_ptr<cmark_iter, decltype(&cmark_iter_free)> walk(cmark_iter_new(paragraph), &cmark_iter_free);
    for (cmark_event_type event; (event = cmark_iter_next(walk.get())) != CMARK_EVENT_DONE;) {
        cmark_node* node = cmark_iter_get_node(walk.get());
        const cmark_node_type type = cmark_node_get_type(node);
        if (event == CMARK_EVENT_ENTER && (type == CMARK_NODE_TEXT || type == CMARK_NODE_CODE))
            text += cmark_node_get_literal(node);
    }
    std::string_view cell = text;
    cell.remove_prefix(cell.starts_with(kNoBreakSpace) ? kNoBreakSpace.size() : 0);
    return std::string(trimmed(cell));
}

}  // namespace

PipeTable::PipeTable(std::string_view lines, int column)
    : lines_(lines)
    , indent_(static_cast<std::size_t>(std::max(column, 1)) - 1)
{
    const std::vector<std::string_view> head = rowLines(lines_, indent_, 2);
    if (head.size() < 2 || head[1].find('|') == std::string_view::npos)
        return;
    const std::vector<std::string> delimiter = cellsOf(head[1]);
    isTable_ = isDelimiterRow(delimiter) && cellsOf(head[0]).size() == delimiter.size();
}

void PipeTable::write(package::TextBuilder& out) const
{
    // Every cell becomes a paragraph of one document, parsed at once; the
    // no-break space in front keeps a cell's first mark ("#", "1.", "-")
    // from opening a block, and reads as a line start to emphasis.
    const std::vector<std::string_view> rows = rowLines(lines_, indent_, lines_.size());
    std::vector<std::size_t> rowSizes;
    std::string cells;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        if (row == 1)
            continue;
        const std::vector<std::string> written = cellsOf(rows[row]);
        rowSizes.push_back(written.size());
        for (const std::string& cell : written)
            cells.append(kNoBreakSpace).append(cell).append("\n\n");
    }
    const std::unique_ptr<cmark_node, decltype(&cmark_node_free)> document(
        cmark_parse_document(cells.data(), cells.size(), CMARK_OPT_VALIDATE_UTF8), &cmark_node_free);
    cmark_node* paragraph = document ? cmark_node_first_child(document.get()) : nullptr;
    for (const std::size_t size : rowSizes) {
        out.endParagraph();
        for (std::size_t cell = 0; cell < size && paragraph; ++cell, paragraph = cmark_node_next(paragraph)) {
            if (cell > 0)
                out.tab();
            out.append(inlineText(paragraph));
        }
        out.endParagraph();
    }
}

}  // namespace leafmill::extract
