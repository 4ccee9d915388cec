#pragma once

#include "extract/Extractor.h"

#include <cstddef>

namespace leafmill::extract {

// The plain text of a Word 6 to Word 2003 document: the main text, then the
// footnotes and the endnotes, each note its own paragraph. Headers, footers,
// comments, text boxes and field instructions are left out. Password-protected
// documents, documents older than Word 6 and files that are no Word document
// at all are refused with a reason.
Result docToText(std::string_view bytes, const Options& options);

namespace doc {

// The same, also giving the byte length of the main text at the start of
// `text` (the notes follow it), for callers that want the body alone.
Result docToTextWithMainLength(std::string_view bytes, const Options& options, std::size_t* mainTextLength);

}  // namespace doc

}  // namespace leafmill::extract
