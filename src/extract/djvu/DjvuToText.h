#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The plain text of a DjVu document's hidden text layer (the words a
// recogniser found on its scanned pages): lines joined into paragraphs as a
// PDF's are, its bookmarks as chapters. A document without a text layer is
// refused, as are damaged ones and those whose pages live in other files.
Result djvuToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
