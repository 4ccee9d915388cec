#pragma once

#include <string>
#include <utility>
#include <vector>

namespace leafmill::test {

using ZipParts = std::vector<std::pair<std::string, std::string>>;

// A zip archive holding the parts in order (deflated, the first one stored
// when it is named "mimetype"), made by minizip in a temporary file.
std::string makeZip(const ZipParts& parts);

}  // namespace leafmill::test
