#pragma once

#include <string>
#include <string_view>

namespace leafmill::extract::layout {

// A printed line's text, which a PDF holds in the order the glyphs stand
// from left to right, in the order it is read: right-to-left runs (Hebrew,
// Arabic) turned round, numbers and left-to-right words inside them kept.
// Brackets stay as the page names them: producers name a mirrored glyph by
// the character it was written as. `rightToLeft` tells whether the line's
// letters are mostly right-to-left, and so whether it reads from the right.
std::string readingOrder(std::string_view visual, bool& rightToLeft);

}  // namespace leafmill::extract::layout
