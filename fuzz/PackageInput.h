#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace leafmill::fuzz {

// A zip package made from the input, so that mutations reach the XML rather
// than dying on the zip's checksums: input that is no zip already is split
// at '\1' bytes into the parts named, in order.
// A zip is returned as it is.
std::string packageFromInput(std::string_view input, std::initializer_list<const char*> partNames);

}  // namespace leafmill::fuzz
