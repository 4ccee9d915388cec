#pragma once

#include <filesystem>
#include <string>

namespace leafmill {

// Where the program's files are. Portable: the program folder holds main.ini,
// language/ and images/ and settings are saved there. Installed: language/,
// images/ and the shipped main.ini are read-only data (share/leafmill beside
// bin/, or a program folder that cannot be written) and the user's main.ini
// lives in the user's configuration folder.
struct ProgramFiles {
    std::filesystem::path dataFolder;  // language/ and images/
    std::filesystem::path settingsFile;  // the main.ini read and saved
    std::filesystem::path shippedSettings;  // the main.ini as shipped

    bool portable() const { return settingsFile == shippedSettings; }
    // The user's main.ini once it exists, else the shipped one: what a reader
    // that never writes (the command-line tool) takes.
    std::filesystem::path readableSettings() const;
};

// Everything in one folder, as a build or an unpacked program folder has it.
ProgramFiles portableLayout(const std::filesystem::path& folder);

// The layout for an executable in `programFolder`; `userConfig` is the
// user's folder for Leafmill's settings (userConfigFolder()).
ProgramFiles locateProgramFiles(const std::filesystem::path& programFolder, const std::filesystem::path& userConfig);

// $XDG_CONFIG_HOME/leafmill, else ~/.config/leafmill; %APPDATA%\Leafmill on
// Windows. Empty when the environment names no home.
std::filesystem::path userConfigFolder();

// Copies the shipped main.ini to the user's place when that has none yet.
// False with the reason when the copy cannot be made.
bool provideUserSettings(const ProgramFiles& files, std::string* error);

}  // namespace leafmill
