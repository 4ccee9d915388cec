#pragma once

#include "convert/CutRules.h"

#include <cstddef>
#include <string_view>

namespace leafmill {

class CodePage;

// The offset inside the window bytes[windowStart, windowEnd) just behind the
// first cut word of the list that occurs there, at its leftmost occurrence
// that starts a character; 0 when none occurs. Empty words are passed over.
// The line end ("enter", CR LF) is any line end: CR LF, or LF alone (the
// cutter has made a lone CR into CR LF). '.', '!', '?' and ';' also match
// their full-width forms (。！？；), behind which closing quotes (」』”) stay
// on the page. Where no word occurs, the last full-width sentence end of the
// window is taken, before a cut at the full size. `bytes` begins on a
// character start; the words are in the code page.
std::size_t FindCutPoint(std::string_view bytes, std::size_t windowStart, std::size_t windowEnd, const CutRules& rules,
                         const CodePage& codePage);

}  // namespace leafmill
