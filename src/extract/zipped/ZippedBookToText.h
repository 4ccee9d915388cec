#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The text of a zipped text or HTML book (.txtz, .htmlz): its index.txt read
// as a text source is, or its index.html through the HTML reader that
// options.readEmbedded lends, headed by the title of its metadata.opf when
// the text does not start with it.
Result zippedBookToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
