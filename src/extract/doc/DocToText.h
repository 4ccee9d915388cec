#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The plain text of a Word 97-2003 document.
Result docToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
