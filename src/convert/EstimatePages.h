#pragma once

#include "app/Settings.h"
#include "convert/RunState.h"

#include <string>
#include <vector>

namespace leafmill {

// Sets PageEstimate from the sources' sizes (a file that cannot be measured
// counts 0 bytes), and the page-number width.
void EstimatePages(const Settings& settings, const std::vector<std::string>& sources, RunState& state);

}  // namespace leafmill
