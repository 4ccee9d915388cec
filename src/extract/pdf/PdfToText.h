#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The text of a PDF document in reading order, page by page, one paragraph
// per line, without running headers, footers and page numbers; the outline's
// bookmarks give the chapters. Pages without a text layer (scans) are named
// in a warning; a document with no text at all, one that needs a password
// and one the PDF library cannot read are refused with that reason.
Result pdfToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
