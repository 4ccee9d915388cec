#pragma once

#include <string>
#include <vector>

namespace leafmill {

struct IPodVolume;

// The commands, each a program and its arguments, that let the iPod go
// safely, run one after the other: on Linux udisks unmounts the volume and
// powers the disk off, on macOS diskutil ejects it. None where this program
// knows no way (the system's own Eject is then the one to use).
std::vector<std::vector<std::string>> ejectCommands(const IPodVolume& volume);

}  // namespace leafmill
