#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {
class CodePage;
}

namespace leafmill::test {

// The text as the cutter cuts it: CR LF and lone CR become CR LF, LF stays, the last line ends (with CR LF
// unless it ends with LF).
std::string normalisedText(std::string_view source);

// Why the pages (without their CR LF) are no cut of `text` into pages of at most `pageSize` bytes,
// each repeating at most `keep` bytes of the one before, split only between characters; or empty.
std::string pageCutFault(std::string_view text, const std::vector<std::string>& pages, std::size_t pageSize,
                         std::size_t keep, const CodePage& codePage);

}  // namespace leafmill::test
