#include "cli/PageSizeChoice.h"

#include "app/Settings.h"

#include <algorithm>

namespace leafmill::cli {

bool choosePageSize(int32_t value, Settings& settings, std::string* error)
{
    const std::vector<CutType>& table = settings.CutTypeTable;
    const std::string given = "--page-size " + std::to_string(value);
    CutType row {value, value / 10};
    if (value < kSmallestPageSize) {
        if (static_cast<std::size_t>(value) >= table.size()) {
            *error = given + ": the page-size table has rows 0 to " + std::to_string(table.size() - 1)
                + ", and a page size is at least " + std::to_string(kSmallestPageSize) + " bytes";
            return false;
        }
        row = table[static_cast<std::size_t>(value)];
    } else if (const auto same
               = std::find_if(table.begin(), table.end(), [&](const CutType& r) { return r.SingleFileSize == value; });
               same != table.end()) {
        row = *same;
    }
    if (row.SingleFileSize > 0 && settings.KeepFileSize >= row.SingleFileSize - row.InOutFileSize) {
        *error = given + ": the " + std::to_string(settings.KeepFileSize)
            + " bytes repeated (KeepFileSize) are not fewer than the shortest cut of "
            + std::to_string(row.SingleFileSize - row.InOutFileSize) + ", so a page would not move on";
        return false;
    }
    settings.CutTypeTable = {row};
    settings.CutTypeNum = 0;
    settings.CutTypeIndex = 0;
    return true;
}

}  // namespace leafmill::cli
