#pragma once

#include "extract/Extractor.h"

namespace leafmill {

class CodePage;

// What the dispatch lends the readers for documents embedded in the one
// they read: each read by the reader a source of its kind goes to, text as
// a text source is (in the code page unless a byte-order mark says
// otherwise). The documents inside an embedded one are not followed.
extract::EmbeddedReader embeddedDocumentReader(const CodePage& codePage);

}  // namespace leafmill
