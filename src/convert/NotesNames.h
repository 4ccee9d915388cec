#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace leafmill {

class PageEncoder;

// The file names of a book for the Notes reader: valid on the FAT32 and HFS+
// disks of iPods, and listed by the reader in reading order.

// A name on those disks has at most this many UTF-16 units.
inline constexpr std::size_t kLongestFileName = 255;
// The room a page name keeps beside its stem: seven digits and ".txt".
inline constexpr std::size_t kPageNameRoom = 11;

std::size_t utf16Length(std::string_view utf8);

// The name with what FAT32 or HFS+ refuse mended: \ / : * ? " < > | and
// controls become '_', trailing dots and blanks go, and it is cut to whole
// characters within `room` UTF-16 units.
std::string portableName(std::string_view utf8, std::size_t room = kLongestFileName);

// The stem of the page names: the book's name as the page encoding writes it,
// so that the links, written in that encoding, name the files as they are.
std::string pageStem(const std::string& bookName, const PageEncoder& pages);

// Page numbers have four digits, or as many as the book's last page needs,
// so that names sort as the pages follow.
std::size_t pageNumberWidth(int64_t pages);
std::string pageFileName(std::string_view stem, int64_t number, std::size_t width);

// The contents note `part` (from 0) of `parts`: "00 Contents.txt" when it is
// alone, else numbered from 1 with as many digits as the last part, so that
// the first part comes first. "00 " sorts before the page names.
std::string contentsFileName(std::size_t part, std::size_t parts);

// The folder of volume `volume` (from 1) of `volumes`: "Book 2", "Book 02".
std::string volumeFolderName(std::string_view bookName, std::size_t volume, std::size_t volumes);

}  // namespace leafmill
