#include "app/ProgramFiles.h"

#include "io/FileAccess.h"

#include <cstdlib>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#ifndef LEAFMILL_DATA_FROM_PROGRAM
#define LEAFMILL_DATA_FROM_PROGRAM "../share/leafmill"
#endif

namespace leafmill {

namespace fs = std::filesystem;

namespace {

bool writableFolder(const fs::path& folder)
{
#ifdef _WIN32
    return _waccess(folder.c_str(), 2) == 0;
#else
    return access(folder.c_str(), W_OK) == 0;
#endif
}

fs::path fromEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? pathFromUtf8(value) : fs::path();
}

}  // namespace

fs::path ProgramFiles::readableSettings() const
{
    std::error_code ec;
    return fs::exists(settingsFile, ec) ? settingsFile : shippedSettings;
}

ProgramFiles portableLayout(const fs::path& folder)
{
    return {folder, folder / "main.ini", folder / "main.ini"};
}

ProgramFiles locateProgramFiles(const fs::path& programFolder, const fs::path& userConfig)
{
    std::error_code ec;
    const bool ownSettings = fs::exists(programFolder / "main.ini", ec);
    if (ownSettings && writableFolder(programFolder))
        return portableLayout(programFolder);
    const fs::path data
        = ownSettings ? programFolder : (programFolder / fs::path(LEAFMILL_DATA_FROM_PROGRAM)).lexically_normal();
    // Without shipped data the missing main.ini is told where it was looked for.
    if (!fs::exists(data / "main.ini", ec))
        return portableLayout(programFolder);
    if (userConfig.empty())
        return portableLayout(data);
    return {data, userConfig / "main.ini", data / "main.ini"};
}

fs::path userConfigFolder()
{
#ifdef _WIN32
    const fs::path appData = fromEnvironment("APPDATA");
    return appData.empty() ? appData : appData / "Leafmill";
#else
    fs::path base = fromEnvironment("XDG_CONFIG_HOME");
    if (base.empty() || base.is_relative()) {
        const fs::path home = fromEnvironment("HOME");
        if (home.empty())
            return {};
        base = home / ".config";
    }
    return base / "leafmill";
#endif
}

bool provideUserSettings(const ProgramFiles& files, std::string* error)
{
    std::error_code ec;
    if (files.portable() || fs::exists(files.settingsFile, ec))
        return true;
    // Replaced whole, so that an interrupted copy never leaves a half main.ini;
    // it gets a new file's permissions, as the shipped file may be read-only.
    std::string bytes, reason;
    fs::create_directories(files.settingsFile.parent_path(), ec);
    if (ec)
        reason = ec.message();
    else if (readWholeFile(files.shippedSettings, bytes, &reason) == ReadResult::Ok
             && replaceFile(files.settingsFile, bytes, &reason))
        return true;
    *error = "cannot make " + pathToUtf8(files.settingsFile) + " from " + pathToUtf8(files.shippedSettings) + ": "
        + reason;
    return false;
}

}  // namespace leafmill
