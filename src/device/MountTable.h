#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace leafmill {

// One line of a mount table in the form of Linux's /proc/self/mounts.
struct MountEntry {
    std::string device;  // /dev/sdb2, or what the system mounted
    std::filesystem::path folder;
    std::string type;  // vfat, hfsplus, ...
};

// The entries of the table; none when it cannot be read. Blanks and other
// bytes the table escapes as \ooo are read back.
std::vector<MountEntry> readMountTable(const std::filesystem::path& table);

// The disk format a volume of that file-system type has, as people name it
// (FAT32, HFS+); the type itself when it is no iPod's usual one.
std::string diskFormatName(const std::string& type);

}  // namespace leafmill
