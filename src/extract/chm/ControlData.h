#pragma once

#include <string_view>

namespace leafmill::extract::chm {

// Whether the book's compression settings (the LZX control data its
// directory lists) can be used: present whole in the file, with a window
// the decompressor takes and a reset interval of one block or more. The
// help library divides by both and sets up its decompressor unchecked, so a book that fails here must never reach it. A
// book without control data (uncompressed) passes.
bool controlDataUsable(std::string_view book);

}  // namespace leafmill::extract::chm
