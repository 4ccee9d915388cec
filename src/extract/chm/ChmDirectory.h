#pragma once

#include <string_view>

namespace leafmill::extract::chm {

// Whether the help library may be given the book: its directory chunks no
// longer than the book, its listing chunks leading only forward, its index chunks only to chunks before them, and its
// compression settings (the LZX control data) are present whole, with a
// window the decompressor takes and a reset interval of one block or more,
// and a reset table whose block length is not zero.
// The library follows the chunks and divides by the settings unchecked, so
// a book that fails here must never reach it. A book without compression
// settings (uncompressed) passes them.
bool chmDirectoryUsable(std::string_view book);

}  // namespace leafmill::extract::chm
