#pragma once

#include "text/LegacyEncodingGuess.h"

#include <string_view>

namespace leafmill {

// UTF-32 or UTF-16 (LE or BE) for the first bytes of a text written without a
// byte-order mark, when they hold zero bytes and read as text in one of
// those forms (letters, digits, punctuation and line ends of any script, no
// controls or unassigned code points); none otherwise (a binary file).
NamedEncoding unmarkedWideEncoding(std::string_view head);

}  // namespace leafmill
