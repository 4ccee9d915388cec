#pragma once

#include <string_view>

namespace leafmill::extract::chm {

// Whether the help library may be given the book: its directory chunks no
// longer than the book, their entries within them, its listing chunks
// leading only forward, its index chunks only to chunks before them, its
// compression settings (the LZX control data and the reset table) stored
// uncompressed or in the compressed section (then unused), present whole,
// with a window the decompressor takes and a reset interval of one block
// or more, and its reset table's block length neither zero nor beyond the
// largest window (2 MB). The library follows the chunks, allocates and
// divides by these unchecked, so a book that fails here must never reach
// it. A book without compression settings (uncompressed) passes them.
bool chmDirectoryUsable(std::string_view book);

}  // namespace leafmill::extract::chm
