#pragma once

#include "app/Settings.h"

#include <memory>
#include <string>

namespace leafmill {
class CodePage;
class LanguageTable;
}  // namespace leafmill

namespace leafmill::cli {

// What a command needs from the program folder: the settings, their code page
// and the language table.
struct CliEnvironment {
    Settings settings;
    std::shared_ptr<const CodePage> codePage;
    std::shared_ptr<const LanguageTable> language;
};

// Reads the settings file (the user's main.ini, else the shipped one, when
// `settingsFile` is empty), never writing it. With `withLanguage` also loads the language of
// MyLagIndex, or the fallback the language folder offers; a fallback notice
// goes to *notice. False with the reason when either cannot be loaded.
bool loadEnvironment(const std::string& settingsFile, bool withLanguage, CliEnvironment* environment,
                     std::string* notice, std::string* error);

}  // namespace leafmill::cli
