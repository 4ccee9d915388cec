#pragma once

#include <string>
#include <string_view>

namespace leafmill {

// Unwraps the hard line breaks of a plain text wrapped at a fixed width (as
// plain-text e-books are): a line that reaches the text's wrapping width
// goes on into the next with a space. Blank lines and indented lines still
// start paragraphs; short lines (verse, list items, headings) keep their
// breaks. A text with no clear width comes back as it was.
std::string joinedLines(std::string_view text);

}  // namespace leafmill
