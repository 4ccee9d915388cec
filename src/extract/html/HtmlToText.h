#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The plain text of an HTML-like page.
Result htmlToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
