#pragma once

#include "text/PageEncoder.h"

#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

// How a source's UTF-8 text becomes the bytes its pages are cut from when
// the pages are made for the Notes reader.
struct PageTextRules {
    const PageEncoder* encoder = nullptr;
    bool escapeTags = false;  // text the reader would take for markup shows as written
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

// '<' that could open a tag becomes "&lt;", '&' that would read as an entity
// "&amp;"; everything else stays.
std::string escapeMarkup(std::string_view text);

}  // namespace leafmill
