#include "device/IPodFinder.h"

#include "device/MountTable.h"
#include "io/FileAccess.h"
#include "targets/notes/NotesFolder.h"
#include "targets/notes/ReaderLimits.h"

#include <algorithm>
#include <sstream>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#elif defined(__APPLE__)
#include <sys/mount.h>
#endif

namespace leafmill {

namespace {

// The file system's type as the system names it, where no mount table says.
std::string volumeType([[maybe_unused]] const std::filesystem::path& root)
{
#ifdef _WIN32
    wchar_t name[MAX_PATH + 1] = {};
    if (GetVolumeInformationW(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, name, MAX_PATH + 1))
        return pathToUtf8(std::filesystem::path(name));
#elif defined(__APPLE__)
    struct statfs info { };
    if (statfs(root.c_str(), &info) == 0)
        return info.f_fstypename;
#endif
    return {};
}

IPodVolume describe(const std::filesystem::path& root, const std::string& device, const std::string& type)
{
    IPodVolume volume;
    volume.root = root;
    volume.notes = root / "Notes";
    volume.device = device;
    volume.model = iPodModel(root);
    volume.format = diskFormatName(type);
    std::error_code ec;
    const std::filesystem::space_info space = std::filesystem::space(root, ec);
    volume.freeBytes = ec ? 0 : space.available;
    volume.notesInUse = static_cast<int64_t>(notesInLoadOrder(volume.notes).size());
    return volume;
}

}  // namespace

std::filesystem::path systemMountTable()
{
#ifdef __linux__
    return "/proc/self/mounts";
#else
    return {};
#endif
}

std::vector<IPodVolume> findIPods(const std::filesystem::path& mountTable,
                                  const std::vector<std::filesystem::path>& places, int depth)
{
    std::vector<IPodVolume> found;
    const auto known = [&found](const std::filesystem::path& root) {
        return std::any_of(found.begin(), found.end(), [&root](const IPodVolume& v) { return v.root == root; });
    };
    for (const MountEntry& entry : readMountTable(mountTable))
        if (isIPodVolume(entry.folder) && !known(entry.folder))
            found.push_back(describe(entry.folder, entry.device, entry.type));
    for (const IPodNotes& iPod : connectedIPods(places, depth)) {
        const std::filesystem::path root = iPod.notes.parent_path();
        if (!known(root))
            found.push_back(describe(root, {}, volumeType(root)));
    }
    return found;
}

std::vector<IPodVolume> connectedIPodVolumes()
{
    return findIPods(systemMountTable(), mountPlaces(), kMountPlaceDepth);
}

std::string iPodModel(const std::filesystem::path& root)
{
    std::string bytes, reason;
    if (readWholeFile(root / "iPod_Control" / "Device" / "SysInfo", bytes, &reason) != ReadResult::Ok)
        return {};
    // Lines of "Key: value".
    std::string board, number;
    std::istringstream lines(bytes);
    for (std::string line; std::getline(lines, line);) {
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        const std::string key = line.substr(0, colon);
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        value.erase(value.find_last_not_of(" \t\r") + 1);
        if (key == "BoardHwName")
            board = value;
        else if (key == "ModelNumStr")
            number = value;
    }
    if (board.empty() || number.empty())
        return board + number;
    return board + " (" + number + ")";
}

}  // namespace leafmill
