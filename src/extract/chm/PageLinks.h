#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace leafmill {
class CodePage;
}

namespace leafmill::extract::chm {

// The archive paths ("/api/list.htm") of what a help page links to, in the
// order of its links (a page linked twice comes twice): each href taken from
// the page's own folder, its fragment dropped, its %-escapes and character
// references decoded, other bytes above ASCII read in the book's code page.
// Links that leave the book (http:, mailto:, another book) are not among them.
std::vector<std::string> pageLinks(std::string_view page, std::string_view pagePath, const CodePage& bookPage);

}  // namespace leafmill::extract::chm
