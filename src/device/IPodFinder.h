#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace leafmill {

// A mounted iPod: a volume with iPod_Control and Notes at its root.
struct IPodVolume {
    std::filesystem::path root;
    std::filesystem::path notes;
    std::string device;  // the block device it is mounted from, when the mount table says
    std::string model;  // as the iPod names itself (iPod_Control/Device/SysInfo); empty when it does not
    std::string format;  // FAT32, HFS+, ...; empty when unknown
    std::uintmax_t freeBytes = 0;
    int64_t notesInUse = 0;  // every file below Notes, as the reader counts them
};

// The mount table of this system: /proc/self/mounts on Linux, none elsewhere.
std::filesystem::path systemMountTable();

// The iPods mounted at the folders of the mount table, then those found at
// `places` or `depth` levels below them (macOS's /Volumes, Windows' drives),
// each once, in that order.
std::vector<IPodVolume> findIPods(const std::filesystem::path& mountTable,
                                  const std::vector<std::filesystem::path>& places, int depth);

// The connected iPods, as the system shows them.
std::vector<IPodVolume> connectedIPodVolumes();

// The model the SysInfo note of the volume names ("iPod M25 (MA003)"), or
// the empty text.
std::string iPodModel(const std::filesystem::path& root);

}  // namespace leafmill
