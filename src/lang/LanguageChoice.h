#pragma once

#include "lang/LanguageTable.h"

#include <filesystem>
#include <string>

namespace leafmill {

class CodePage;

// What loading the language of MyLagIndex at start-up came to.
struct LanguageChoice {
    bool ok = false;
    std::string usedBaseName;  // the file that was loaded
    // Set when another file than the chosen one had to be used: string 40 of
    // the loaded table with its markers filled in, to show once the program
    // is up.
    std::string notice;
    std::string error;  // when no file could be loaded: fixed English
};

// Loads <languageFolder>/<MyLagIndex>.ini into `table`; when that fails, the
// first file of the folder in file-name order that loads.
LanguageChoice loadChosenLanguage(LanguageTable& table, const std::filesystem::path& languageFolder,
                                  const std::string& MyLagIndex, const CodePage& codePage);

}  // namespace leafmill
