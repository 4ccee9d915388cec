#pragma once

#include "text/PageEncoder.h"

#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

// How a source's UTF-8 text becomes the bytes its pages are cut from when
// the target chooses the pages' encoding.
struct PageTextRules {
    const PageEncoder* encoder = nullptr;
    // Text the target would take for its markup is written to show as it is; null: kept.
    std::string (*escape)(std::string_view) = nullptr;
    bool chapterPages = false;  // a chapter starts on a new page
    bool joinLines = false;  // hard-wrapped text sources are unwrapped
};

struct PageText {
    std::string bytes;  // in the page encoding
    Replacements replaced;
    std::vector<std::size_t> offsets;  // the given UTF-8 offsets, in `bytes`
};

// `offsets` (ascending, into `utf8`) are found again in the page bytes.
PageText makePageText(std::string_view utf8, const PageTextRules& rules, const std::vector<std::size_t>& offsets = {});
// The same for text that follows what `page` holds, added to it.
void appendPageText(std::string_view utf8, const PageTextRules& rules, const std::vector<std::size_t>& offsets,
                    PageText& page);

}  // namespace leafmill
