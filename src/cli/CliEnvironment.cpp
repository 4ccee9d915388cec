#include "cli/CliEnvironment.h"

#include "app/ProgramFiles.h"
#include "app/SettingsStore.h"
#include "io/FileAccess.h"
#include "io/ProgramFolder.h"
#include "lang/LanguageChoice.h"
#include "lang/LanguageTable.h"

namespace leafmill::cli {

bool loadEnvironment(const std::string& settingsFile, bool withLanguage, CliEnvironment* environment,
                     std::string* notice, std::string* error)
{
    const ProgramFiles files = locateProgramFiles(programFolder(), userConfigFolder());
    SettingsStore store(settingsFile.empty() ? files.readableSettings() : pathFromUtf8(settingsFile));
    if (!store.LoadSettings(error))
        return false;
    environment->settings = store.record();
    environment->codePage = store.codePage();
    if (!withLanguage)
        return true;
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

}  // namespace leafmill::cli
