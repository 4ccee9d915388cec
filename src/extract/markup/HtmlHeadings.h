#pragma once

#include "extract/Extractor.h"

#include <string_view>
#include <vector>

namespace leafmill::extract {

// The <h1>..<h3> headings of a page (UTF-8 markup), found again in the text
// the line filter made of it: each chapter starts at the line its heading's
// words begin on. Headings whose words the text does not hold are left out.
std::vector<Chapter> htmlHeadings(std::string_view markup, std::string_view text);

}  // namespace leafmill::extract
