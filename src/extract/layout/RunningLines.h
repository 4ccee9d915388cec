#pragma once

#include "extract/layout/PageLines.h"

#include <vector>

namespace leafmill::extract::layout {

// Takes out the running headers and footers: lines at the top or the bottom
// of a page whose text comes back on more than half of the pages with text
// (and on three at least), either as it is or with a number that counts along
// with the pages ("Page 7", "- 7 -", "7 of 30"). A book's text keeps its
// chapter headings even when they all read "Chapter N" at the top of a page,
// because their numbers do not follow the pages; a page whose only lines
// look running keeps them.
void removeRunningLines(std::vector<std::vector<Line>>& pages);

}  // namespace leafmill::extract::layout
