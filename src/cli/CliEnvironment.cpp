#include "cli/CliEnvironment.h"

#include "app/ProgramFiles.h"
#include "app/SettingsStore.h"
#include "io/FileAccess.h"
#include "io/ProgramFolder.h"
#include "lang/LanguageChoice.h"
#include "lang/LanguageTable.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace leafmill::cli {

bool loadEnvironment(const std::string& settingsFile, EnvironmentNeeds needs, CliEnvironment* environment,
                     std::string* notice, std::string* error)
{
    const ProgramFiles files = locateProgramFiles(programFolder(), userConfigFolder());
    const std::filesystem::path iniPath = settingsFile.empty() ? files.readableSettings() : pathFromUtf8(settingsFile);
    if (needs == EnvironmentNeeds::CodePage) {
        environment->codePage = SettingsStore::LoadCodePage(iniPath, error);
        return environment->codePage
            && SettingsStore::LoadSourceEncoding(iniPath, &environment->settings.NotesReader.SourceEncoding, error);
    }
    SettingsStore store(iniPath);
    if (!store.LoadSettings(error))
        return false;
    environment->settings = store.record();
    environment->codePage = store.codePage();
    auto language = std::make_shared<LanguageTable>();
    const LanguageChoice choice = loadChosenLanguage(*language, files.dataFolder / "language",
                                                     environment->settings.MyLagIndex, *environment->codePage);
    if (!choice.ok) {
        *error = choice.error;
        return false;
    }
    *notice = choice.notice;
    environment->language = std::move(language);
    return true;
}

bool loadForFolder(const std::string& settingsFile, const std::string& folder, const char* what,
                   CliEnvironment* environment)
{
    std::string notice;
    std::string error;
    if (!loadEnvironment(settingsFile, EnvironmentNeeds::SettingsAndLanguage, environment, &notice, &error)) {
        std::fprintf(stderr, "leafmill-cli: %s\n", error.c_str());
        return false;
    }
    if (!notice.empty())
        std::fprintf(stderr, "leafmill-cli: %s\n", notice.c_str());
    std::error_code ec;
    if (!std::filesystem::is_directory(pathFromUtf8(folder), ec)) {
        std::fprintf(stderr, "leafmill-cli: the %s %s does not exist\n", what, folder.c_str());
        return false;
    }
    return true;
}

}  // namespace leafmill::cli
