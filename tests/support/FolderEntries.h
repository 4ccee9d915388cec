#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace leafmill::test {

// The names in a folder, sorted; none when there is no such folder.
std::vector<std::string> entriesOf(const std::filesystem::path& folder);

}  // namespace leafmill::test
