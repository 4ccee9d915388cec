#pragma once

#include <string_view>

namespace leafmill {

// The national character tables as their standards lay them out (GB 2312,
// Big5, JIS X 0208 in Shift_JIS, KS X 1001 in EUC-KR). The converters that
// carry these names also map the vendors' additions (GBK, cp950, NEC and IBM
// rows, user-defined areas), which a reader that knows only the standard
// shows as garbage.
//
// Whether the bytes of one character of the table `key` (a settings name,
// letter case ignored) lie in the standard's cells. True for every character
// of an encoding that has no such table.
bool inStandardTable(std::string_view key, std::string_view characterBytes);

// Whether `key` names one of those tables.
bool hasStandardTable(std::string_view key);

}  // namespace leafmill
