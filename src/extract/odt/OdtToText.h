#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The plain text of an OpenDocument text, as a package (.odt) or one XML
// file (.fodt): paragraphs and headings one to a line, headings with their
// outline numbers as chapters, list items with their labels, table rows one
// to a line with cells parted by TAB, and the notes after the text. Other
// OpenDocument kinds, packages of other formats and documents encrypted with
// a password are refused with a reason.
Result odtToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
