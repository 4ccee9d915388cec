// The INI reader and writer over an arbitrary main.ini: reads never yield
// more than 1,023 bytes, a key written reads back as written (cut, trimmed,
// unquoted as a read does it), other keys keep their values, and a deleted
// key or section reads as empty.
#include "FuzzSupport.h"
#include "TestSupport.h"

#include "app/classIniFile.h"
#include "text/AsciiCase.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
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

bool blank(char c)
{
    return c == ' ' || c == '\t';
}

// What a read of a freshly written value gives; a UTF-8 file is cut at the
// 1,023-byte limit on a character start.
std::string readBack(std::string value, bool utf8File)
{
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    std::size_t first = 0, last = value.size();
    while (first < last && blank(value[first]))
        ++first;
    while (last > first && blank(value[last - 1]))
        --last;
    value = value.substr(first, last - first);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    std::size_t limit = std::min<std::size_t>(value.size(), 1023);
    if (utf8File && limit < value.size())
        while (limit > 0 && (static_cast<unsigned char>(value[limit]) & 0xC0) == 0x80)
            --limit;
    return value.substr(0, limit);
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
    // Texts handed in are UTF-8; a file with a byte-order mark may turn
    // anything else into replacement characters.
    if (leafmill::fuzz::isUtf8(value))
        check(ini.GetIniKey(section, key) == readBack(value, original.starts_with("\xEF\xBB\xBF")),
              "a written value reads back otherwise");
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
