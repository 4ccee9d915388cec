#pragma once

#include "extract/Extractor.h"

#include <cstddef>

namespace leafmill::extract {

// The text of a Markdown document (CommonMark), in the encoding found as for
// a text source: headings of levels 1 to 3 as chapters, list items with
// their numbers or a bullet, code blocks line for line as written, links and
// pictures as their text, HTML and a front matter (YAML between "---" lines
// at the start) left out.
Result markdownToText(std::string_view bytes, const Options& options);

// The same, parsing the document about `runSize` bytes of its blocks at a
// time (the reader above takes a few hundred kilobytes): the text and the
// chapters are those of the whole document parsed at once, whatever the size.
Result markdownToText(std::string_view bytes, const Options& options, std::size_t runSize);

}  // namespace leafmill::extract
