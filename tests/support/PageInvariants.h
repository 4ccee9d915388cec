#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {
class CodePage;
}

namespace leafmill::test {

// The text the cutter is meant to cut: CR LF and lone CR become CR LF, a lone
// LF stays, and a last line without a line end gets one.
std::string normalisedText(std::string_view source);

// Why the page texts (files without their closing CR LF) are not a cut of
// `text` into pages of at most `pageSize` bytes, each repeating at most
// `keep` bytes of the one before and starting and ending on character
// starts; empty when they are.
std::string pageCutFault(std::string_view text, const std::vector<std::string>& pages, std::size_t pageSize,
                         std::size_t keep, const CodePage& codePage);

}  // namespace leafmill::test
