#pragma once

#include "extract/pdf/PageLines.h"

#include <string>
#include <vector>

namespace leafmill::extract::pdf {

// Joins the printed lines of all pages into paragraphs, each ended by CR LF.
// A paragraph ends where a line stops short of its column (the next line's
// first word would have fitted), before a wider gap than the lines usually
// leave, an indented line, or a change of type size; it runs on across a
// column or page break otherwise. A word hyphenated at the end of a line is
// joined again; lines of Chinese or Japanese are joined without a space.
std::string joinParagraphs(const std::vector<std::vector<Line>>& pages);

}  // namespace leafmill::extract::pdf
