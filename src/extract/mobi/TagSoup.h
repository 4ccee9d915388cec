#pragma once

#include <string>
#include <string_view>

namespace leafmill::extract::mobi {

// The markup of an older Kindle book (written as HTML, not XHTML) made
// well-formed, so that the XHTML reader takes it whole instead of stopping at
// the first fault: empty elements (br, hr, img, ...) closed where they open,
// attribute values quoted, end tags that close nothing dropped and elements
// left open closed by the end tag of an element around them or at the end.
std::string wellFormed(std::string_view html);

}  // namespace leafmill::extract::mobi
