#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The plain text of an EPUB 2 or 3 book: the documents of its reading order
// (spine), those outside it (linear="no") after them, each paragraph and
// heading on its own line, footnotes after the text of their chapter. The
// chapters are the entries of the book's table of contents (navigation
// document, else NCX), each starting where its target does. Books whose
// content is encrypted (DRM), packages without a readable reading order and
// books without any text are refused with a reason.
Result epubToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
