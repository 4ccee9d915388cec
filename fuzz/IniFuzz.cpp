// The INI reader and writer over an arbitrary main.ini: reads stay within
// 1,023 bytes, writes touch only their key, deletes leave nothing to read.
#include "FuzzSupport.h"
#include "TestSupport.h"
#include "app/classIniFile.h"
#include "text/AsciiCase.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using leafmill::fuzz::check;

// Names the writer can always store: letters, digits and underscores.
std::string plainName(FuzzedDataProvider& input)
{
    static constexpr std::string_view letters = "abcABC01_";
    std::string name;
    const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(1, 6);
    for (std::size_t i = 0; i < length; ++i)
        name += letters[input.ConsumeIntegralInRange<std::size_t>(0, letters.size() - 1)];
    return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const auto file = leafmill::fuzz::scratchFolder() / "main.ini";
    const std::string section = plainName(input), key = plainName(input), otherKey = plainName(input);
    const std::string value = input.ConsumeRandomLengthString(1500);
    const std::string original = input.ConsumeRemainingBytesAsString();
    leafmill::test::writeFile(file, original);
    // No code page: bytes pass unchanged, so a value reads back byte for byte.
    leafmill::classIniFile ini;
    ini.INIFileName(file);
    check(ini.GetIniKey(section, key).size() <= 1023, "a value longer than 1,023 bytes");
    const std::string otherBefore = ini.GetIniKey(section, otherKey);

    if (!ini.WriteIniKey(section, key, value))
        leafmill::fuzz::violated("write failed: " + ini.lastError());
    // Cutting, trimming and unquoting are the INI tests' to check; a plain value reads back as written.
    if (value.size() <= 1023 && value.find_first_not_of("abcABC01_.-") == std::string::npos)
        check(ini.GetIniKey(section, key) == value, "a written value reads back otherwise");
    if (leafmill::asciiLowered(otherKey) != leafmill::asciiLowered(key))
        check(ini.GetIniKey(section, otherKey) == otherBefore, "a write changed another key");

    const std::string afterWrite = leafmill::test::readFile(file);
    check(ini.WriteIniKey(section, key, value), "a second write failed");
    check(leafmill::test::readFile(file) == afterWrite, "writing the same value again changed the file");

    check(ini.DelIniKey(section, key), "deleting a key failed");
    check(ini.GetIniKey(section, key).empty(), "a deleted key still reads");
    check(ini.DelIniSec(section), "deleting a section failed");
    check(ini.GetIniKey(section, otherKey).empty(), "a key of a deleted section still reads");
    return 0;
}
