#pragma once

#include "text/PageEncoder.h"

#include <string>
#include <string_view>

namespace leafmill {

// How a source's UTF-8 text becomes the bytes its pages are cut from when
// the pages are made for the Notes reader.
struct PageTextRules {
    const PageEncoder* encoder = nullptr;
    bool escapeTags = false; // text the reader would take for markup shows as written
};

struct PageText {
    std::string bytes; // in the page encoding
    Replacements replaced;
};

PageText makePageText(std::string_view utf8, const PageTextRules& rules);

// '<' that could open a tag becomes "&lt;", '&' that would read as an entity
// "&amp;"; everything else stays.
std::string escapeMarkup(std::string_view text);

} // namespace leafmill
