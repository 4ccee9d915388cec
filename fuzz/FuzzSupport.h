#pragma once

#include "extract/Extractor.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace leafmill {
class CodePage;
}

namespace leafmill::fuzz {

// windows-1252, windows-936 or UTF-8 by `selector` % 3, so that the 8-bit
// paths meet single-byte, double-byte and UTF-8 code pages.
const CodePage& codePageFor(unsigned selector);

// A private folder for the files one fuzz process writes, in memory where
// there is such a file system, removed at exit.
const std::filesystem::path& scratchFolder();

bool isUtf8(std::string_view text);

// Reports a broken invariant and aborts, so libFuzzer keeps the input.
[[noreturn]] void violated(std::string_view what);

inline void check(bool condition, std::string_view what)
{
    if (!condition)
        violated(what);
}

// Runs an extractor and checks its contract: text is UTF-8, a failure says
// why, progress stays within 0..100. The input's length picks the code page,
// so that a seed document is fed as it stands.
int runExtractor(extract::Extractor extractor, std::string_view bytes);

}  // namespace leafmill::fuzz
