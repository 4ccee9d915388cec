#include "device/MountTable.h"

#include "io/FileAccess.h"
#include "text/AsciiCase.h"

#include <sstream>

namespace leafmill {

namespace {

// A field with its \ooo escapes read back.
std::string unescaped(const std::string& field)
{
    std::string out;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const auto octal = [&](std::size_t at) { return at < field.size() && field[at] >= '0' && field[at] <= '7'; };
        if (field[i] == '\\' && octal(i + 1) && octal(i + 2) && octal(i + 3)) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) | (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

}  // namespace

std::vector<MountEntry> readMountTable(const std::filesystem::path& table)
{
    std::vector<MountEntry> entries;
    std::string bytes, reason;
    if (table.empty() || readWholeFile(table, bytes, &reason) != ReadResult::Ok)
        return entries;
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string device, folder, type;
        if (fields >> device >> folder >> type)
            entries.push_back({unescaped(device), pathFromUtf8(unescaped(folder)), type});
    }
    return entries;
}

std::string diskFormatName(const std::string& type)
{
    std::string lower;
    for (const char c : type)
        lower += asciiLower(c);
    if (lower == "vfat" || lower == "msdos" || lower == "fat" || lower == "fat32")
        return "FAT32";
    if (lower == "hfsplus" || lower == "hfs")
        return "HFS+";
    if (lower == "exfat")
        return "exFAT";
    return type;
}

}  // namespace leafmill
