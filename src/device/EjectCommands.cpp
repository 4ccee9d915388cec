#include "device/EjectCommands.h"

#include "device/IPodFinder.h"
#include "io/FileAccess.h"

namespace leafmill {

std::vector<std::vector<std::string>> ejectCommands([[maybe_unused]] const IPodVolume& volume)
{
#ifdef __linux__
    // udisks names the disk by its block device, which only the mount table tells.
    if (!volume.device.starts_with("/dev/"))
        return {};
    return {{"udisksctl", "unmount", "--no-user-interaction", "-b", volume.device},
            {"udisksctl", "power-off", "--no-user-interaction", "-b", volume.device}};
#elif defined(__APPLE__)
    return {{"diskutil", "eject", pathToUtf8(volume.root)}};
#else
    return {};
#endif
}

}  // namespace leafmill
