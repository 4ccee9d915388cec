#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace leafmill {

class PageEncoder;

// The stem of the page names: the book's name as the page encoding writes it,
// so that the links, written in that encoding, name the files as they are.
std::string pageStem(const std::string& bookName, const PageEncoder& pages);

// The contents note `part` (from 0) of `parts`: "00 Contents.txt" when it is
// alone, else numbered from 1 with as many digits as the last part, so that
// the first part comes first. "00 " sorts before the page names.
std::string contentsFileName(std::size_t part, std::size_t parts);

// The folder of volume `volume` (from 1) of `volumes`: "Book 2", "Book 02".
std::string volumeFolderName(std::string_view bookName, std::size_t volume, std::size_t volumes);

}  // namespace leafmill
