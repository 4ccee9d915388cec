#pragma once

#include <string>
#include <string_view>

namespace leafmill {

// The Notes reader's markup around one page's text, in UTF-8: the title the
// reader's menu shows and links to the pages before and after it. Texts are
// given as the page encoding writes them, so that escaping holds.
struct PageFrame {
    std::string title;  // empty: the reader shows the file name
    std::string previous;  // file name of the page before; empty: none
    std::string next;  // file name of the page after; empty: none
};

// Link texts from the language table.
struct LinkTexts {
    std::string previous;
    std::string next;
};

// What goes before the page's text, and after its closing line end.
std::string frameHead(const PageFrame& frame, const LinkTexts& texts);
std::string frameTail(const PageFrame& frame, const LinkTexts& texts);

// '<' that could open a tag becomes "&lt;", '&' that would read as an entity
// "&amp;"; everything else stays.
std::string escapeMarkup(std::string_view text);

// A link to another note of the same folder; NOPUSH keeps paging out of the
// reader's Menu history.
std::string noteLink(std::string_view file, std::string_view text);

}  // namespace leafmill
