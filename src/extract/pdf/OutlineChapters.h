#pragma once

#include "extract/Extractor.h"
#include "extract/pdf/PdfDocument.h"

#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::pdf {

// Where the bookmarks' chapters start in the text: each title is looked for
// at the start of a line, after the chapter before it, ignoring differences
// of white space and of ASCII case. A bookmark whose title is not found is
// left out and named in `warnings`.
std::vector<Chapter> locateChapters(const std::vector<OutlineEntry>& outline, std::string_view text,
                                    std::vector<std::string>& warnings);

}  // namespace leafmill::extract::pdf
