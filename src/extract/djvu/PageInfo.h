#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace leafmill::extract::djvu {

// A page's height in pixels and its resolution, as its INFO chunk gives them.
struct PageSize {
    int height = 0;
    int dpi = 0;
};

// Where each file of a bundled document begins, by its directory (the DIRM
// chunk that opens it); none for a single page or a damaged directory.
std::vector<std::size_t> bundledFileOffsets(std::string_view bytes);

// The INFO chunk of the page whose FORM begins at `offset` (4 for a single
// page), as the DjVu library reads it; none where there is no whole one.
std::optional<PageSize> pageSizeAt(std::string_view bytes, std::size_t offset);

}  // namespace leafmill::extract::djvu
