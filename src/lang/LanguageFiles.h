#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace leafmill {

class CodePage;

// One language file offered by the settings dialog.
struct LanguageEntry {
    std::string displayName;  // [Info] Language
    std::string baseName;  // file name without ".ini"
};

struct LanguageList {
    std::vector<LanguageEntry> entries;  // in file-name order
    int selected = 0;  // the entry whose baseName is MyLagIndex, else 0
};

// Lists every *.ini of the folder that has an [Info] Language value.
LanguageList listLanguages(const std::filesystem::path& languageFolder, const std::string& MyLagIndex,
                           const CodePage& codePage);

// Base names (UTF-8, without ".ini") of the folder's *.ini files in file-name
// order; empty when the folder cannot be read.
std::vector<std::string> languageFileNames(const std::filesystem::path& languageFolder);

}  // namespace leafmill
