#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace leafmill {

// Whether the Notes reader lists the name `a` before `b` in a folder's menu:
// by their bytes, ASCII letters without regard to case.
bool readerNameLess(std::string_view a, std::string_view b);

// The notes below `folder` in the order the reader loads them: depth first,
// each folder's entries in name order, every file a note. What lies under
// `skip` is left out. The reader loads the first 1,000 of the Notes folder.
std::vector<std::filesystem::path> notesInLoadOrder(const std::filesystem::path& folder,
                                                    const std::filesystem::path& skip = {});

}  // namespace leafmill
