#include "convert/EstimatePages.h"

#include "io/FileAccess.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <system_error>

namespace leafmill {

void EstimatePages(const Settings& settings, const std::vector<std::string>& sources, RunState& state)
{
    uint64_t total = 0;
    for (const std::string& source : sources) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(pathFromUtf8(source), ec);
        if (!ec)
            total += size;
    }
    const int64_t pageSize = settings.pageSize();
    int64_t estimate = 0;
    if (pageSize <= 0) {
        estimate = static_cast<int64_t>(sources.size());
    } else {
        // The divisor grows with the cut-type index: a rough figure for the
        // progress bar, kept so that stored settings give the bar they always gave.
        const int64_t pages = static_cast<int64_t>(total) / (pageSize * (settings.CutTypeIndex + 1));
        estimate = pages + pages / 10;
    }
    state.PageEstimate = static_cast<int32_t>(std::min<int64_t>(estimate, std::numeric_limits<int32_t>::max()));
    state.PageNumDigits = 4;
    state.PageNumPad = "0000";
}

}  // namespace leafmill
