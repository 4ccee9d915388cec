#pragma once

#include "extract/package/TextBuilder.h"

namespace leafmill::extract::package {

// Where blocks, table rows and cells break the text of a word processor's
// document: a block or a row is a line of its own and cells are parted by
// TAB, but inside a cell blocks and the rows and cells of a table in it
// only part words, so that every row stays one line.
class TableLayout {
public:
    explicit TableLayout(TextBuilder& out)
        : out_(out)
    {
    }

    bool inCell() const { return cells_ > 0; }

    // Around a paragraph, a heading or a table row.
    void startBlock()
    {
        if (cells_ > 0)
            out_.append(" ");
        else
            out_.endParagraph();
    }
    void endBlock()
    {
        if (cells_ == 0)
            out_.endParagraph();
    }

    // Before each cell but the first of a row.
    void betweenCells()
    {
        if (cells_ > 0)
            out_.append(" ");
        else
            out_.tab();
    }
    void enterCell() { ++cells_; }
    void leaveCell() { --cells_; }

private:
    TextBuilder& out_;
    int cells_ = 0;
};

}  // namespace leafmill::extract::package
