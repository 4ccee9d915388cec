#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The plain text of a Kindle or Palm book: Mobipocket (.mobi, .prc, .azw),
// KF8 (.azw3, and the newer half of a book that holds both) and PalmDOC
// (.pdb) text. A Kindle book's documents are read as an EPUB's are, its
// table of contents (NCX) giving the chapters; a PalmDOC book is plain text
// in the encoding its bytes are in. Books protected by DRM, Topaz books and
// print replicas are refused with a reason that says what they are.
Result mobiToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
