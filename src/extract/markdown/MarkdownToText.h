#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The text of a Markdown document (CommonMark), in the encoding found as for
// a text source: headings of levels 1 to 3 as chapters, list items with
// their numbers or a bullet, code blocks line for line as written, links and
// pictures as their text, HTML and a front matter (YAML between "---" lines
// at the start) left out.
Result markdownToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
