#pragma once

#include <string_view>

namespace leafmill::extract::chm {

// Whether the book's compression settings (the LZX control data its
// directory lists) can be used: present whole in the file, with a window
// of two bytes or more. The help library divides by half the window
// unchecked, so a book that fails here must never reach it. A book without
// control data (uncompressed) passes.
bool controlDataUsable(std::string_view book);

}  // namespace leafmill::extract::chm
