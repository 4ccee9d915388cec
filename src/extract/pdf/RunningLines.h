#pragma once

#include "extract/pdf/PageLines.h"

#include <vector>

namespace leafmill::extract::pdf {

// Takes out the running headers and footers: lines at the top or the bottom
// of a page whose text comes back on at least half of the pages with text
// (and on two at least), either as it is or with a number that counts along
// with the pages ("Page 7", "- 7 -", "7 of 30"). A book's text keeps its
// chapter headings even when they all read "Chapter N" at the top of a page,
// because their numbers do not follow the pages.
void removeRunningLines(std::vector<std::vector<Line>>& pages);

}  // namespace leafmill::extract::pdf
