#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The plain text of an RTF document.
Result rtfToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
