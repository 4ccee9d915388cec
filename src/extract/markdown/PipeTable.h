#pragma once

#include "extract/package/TextBuilder.h"

#include <cstddef>
#include <string_view>

namespace leafmill::extract {

// Pipe tables (GitHub's, which CommonMark lacks) come from the parser as
// paragraphs: a header row, a row of dashes under it with as many cells,
// then the body rows. `lines` are the paragraph's source lines and `column`
// where its first line starts (counted from 1), after the marks of the
// blocks around it.
class PipeTable {
public:
    PipeTable(std::string_view lines, int column);

    bool isTable() const { return isTable_; }
    // The rows a line each, their cells parted by TAB, each cell read as
    // Markdown's inline text (emphasis, links and code give their text).
    void write(package::TextBuilder& out) const;

private:
    std::string_view lines_;
    std::size_t indent_;
    bool isTable_ = false;
};

}  // namespace leafmill::extract
