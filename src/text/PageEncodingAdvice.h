#pragma once

#include <string>
#include <string_view>

namespace leafmill {

class CodePage;

// The first of the page encodings the settings offer, other than `current`,
// that keeps every character of `utf8`; empty when none does.
std::string pageEncodingKeeping(std::string_view utf8, const CodePage& current);

}  // namespace leafmill
