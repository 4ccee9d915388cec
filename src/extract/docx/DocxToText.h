#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The plain text of a Word 2007+ document (.docx, .docm, .dotx): the body in
// order, paragraphs one to a line with their list labels as Word shows them,
// table rows one to a line with cells parted by TAB, fields' results, text
// boxes, and the footnotes and endnotes after the text, each with its mark.
// Headers and footers are left out. Headings (outline levels) are the
// chapters. Packages that are no Word document are refused with a reason.
Result docxToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
