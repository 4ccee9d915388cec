#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace leafmill::fuzz {

// A zip made of the input split at '\1' into the named parts, so mutations reach the XML
// rather than the zip's checksums; a zip is returned as it is.
std::string packageFromInput(std::string_view input, std::initializer_list<const char*> partNames);

}  // namespace leafmill::fuzz
