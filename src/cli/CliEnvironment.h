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
// and the language table (the code page and the source encoding alone for
// EnvironmentNeeds::CodePage).
struct CliEnvironment {
    Settings settings;
    std::shared_ptr<const CodePage> codePage;
    std::shared_ptr<const LanguageTable> language;
};

// How much of the program folder a command reads: a conversion to text needs
// only the code page and the source encoding, and a start that reads no more
// stays quick.
enum class EnvironmentNeeds { CodePage, SettingsAndLanguage };

// Reads the settings file (the user's main.ini, else the shipped one, when
// `settingsFile` is empty), never writing it: its code page only, or all
// settings and the language of MyLagIndex (or the fallback the language
// folder offers; a fallback notice goes to *notice). False with the reason
// when what is needed cannot be loaded.
bool loadEnvironment(const std::string& settingsFile, EnvironmentNeeds needs, CliEnvironment* environment,
                     std::string* notice, std::string* error);

// The settings and language for a command on a folder: loadEnvironment's
// notice and refusal go to stderr, and so does a `folder` that is no folder,
// called by `what` ("output folder"). False when the command cannot start.
bool loadForFolder(const std::string& settingsFile, const std::string& folder, const char* what,
                   CliEnvironment* environment);

}  // namespace leafmill::cli
