#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

class CodePage;

// The offset inside the window bytes[windowStart, windowEnd) just behind the
// first cut word of the list that occurs there, at its leftmost occurrence
// that starts a character; 0 when none occurs. Empty words are passed over.
// `bytes` begins on a character start; the words are in the code page.
std::size_t FindCutPoint(std::string_view bytes, std::size_t windowStart, std::size_t windowEnd,
                         const std::vector<std::string>& cutWords, const CodePage& codePage);

}  // namespace leafmill
