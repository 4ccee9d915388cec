#pragma once

#include <filesystem>

namespace leafmill {

// The folder of the running executable: main.ini, language/ and images/ live
// there ("beside the program").
std::filesystem::path programFolder();

}  // namespace leafmill
