#pragma once

#include <cstdint>
#include <string>

namespace leafmill {
struct Settings;
}

namespace leafmill::cli {

// Values of --page-size from here up are page sizes in bytes; below, rows.
inline constexpr int32_t kSmallestPageSize = 100;

// --page-size for one run: a value below kSmallestPageSize is a row of the
// page-size table (CutTypeTable, numbered from 0 as in main.ini); a larger
// one a page size in bytes, cut with the window of the row of that size, or
// else in the page's last tenth as the shipped rows are. The run's table
// becomes that row alone, so a whole-file row switches whole-file mode on and
// any other switches it off. False with the reason when the row is not in the
// table or its pages would not move on past the bytes repeated.
bool choosePageSize(int32_t value, Settings& settings, std::string* error);

}  // namespace leafmill::cli
