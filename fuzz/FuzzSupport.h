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

// windows-1252, windows-936 or UTF-8 by `selector` % 3: single, double-byte and UTF-8 paths.
const CodePage& codePageFor(unsigned selector);

// A private folder for one fuzz process's files, in memory where possible.
const std::filesystem::path& scratchFolder();

// Reports a broken invariant and aborts, so libFuzzer keeps the input.
[[noreturn]] void violated(std::string_view what);

inline void check(bool condition, std::string_view what)
{
    if (!condition)
        violated(what);
}

// An extractor's contract: UTF-8 text, failures say why, progress in 0..100; the length picks the code page.
// With `followEmbedded`, documents inside the one read are read through the dispatch, as in a run.
int runExtractor(extract::Extractor extractor, std::string_view bytes, bool followEmbedded = false);

}  // namespace leafmill::fuzz
