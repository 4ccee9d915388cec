#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace leafmill {

// The file names of a book's pages: valid on the FAT32 and HFS+ disks of
// players, and listed in reading order.

// A name on those disks has at most this many UTF-16 units.
inline constexpr std::size_t kLongestFileName = 255;
// The room a page name keeps beside its stem: seven digits and ".txt".
inline constexpr std::size_t kPageNameRoom = 11;

std::size_t utf16Length(std::string_view utf8);

// The name with what FAT32 or HFS+ refuse mended: \ / : * ? " < > | and
// controls become '_', trailing dots and blanks go, and it is cut to whole
// characters within `room` UTF-16 units.
std::string portableName(std::string_view utf8, std::size_t room = kLongestFileName);

// Page numbers have four digits, or as many as the book's last page needs,
// so that names sort as the pages follow.
std::size_t pageNumberWidth(int64_t pages);
std::string pageFileName(std::string_view stem, int64_t number, std::size_t width);

// `value` with zeros before it to `width` digits.
std::string paddedNumber(int64_t value, std::size_t width);

}  // namespace leafmill
