#pragma once

#include "extract/Extractor.h"

#include <string_view>
#include <vector>

namespace leafmill {

// Lines of a plain text that look like chapter headings: "Chapter 12",
// "CHAPTER XII", "Part Two", "Book 3: The Return", "第十二章", "第12回".
std::vector<extract::Chapter> headingLines(std::string_view utf8);

// Whether one line (without its line end) is such a heading, and its level:
// 1 for parts and books, 2 for chapters; 0 when it is none.
int headingLevel(std::string_view line);

}  // namespace leafmill
