#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace leafmill {
class CodePage;
}

namespace leafmill::fuzz {

// Opens a code page the process cannot do without.
std::shared_ptr<const CodePage> requireCodePage(std::string_view name);

// A private folder for the files one fuzz process writes, created once and
// removed at exit.
const std::filesystem::path& scratchFolder();

void writeBytes(const std::filesystem::path& file, std::string_view bytes);
std::string readBytes(const std::filesystem::path& file);

// Whether the text is well-formed UTF-8 (no overlongs, surrogates or values
// past U+10FFFF).
bool isUtf8(std::string_view text);

// Reports a broken invariant and aborts, so libFuzzer keeps the input.
[[noreturn]] void violated(std::string_view what);

inline void check(bool condition, std::string_view what)
{
    if (!condition)
        violated(what);
}

}  // namespace leafmill::fuzz
