#include "lang/LanguageChoice.h"

#include "io/FileAccess.h"
#include "lang/LanguageFiles.h"
#include "lang/StringId.h"

namespace leafmill {

namespace {

std::string replaceAll(std::string text, std::string_view marker, std::string_view by)
{
    for (std::size_t at = text.find(marker); at != std::string::npos; at = text.find(marker, at + by.size()))
        text.replace(at, marker.size(), by);
    return text;
}

}  // namespace

LanguageChoice loadChosenLanguage(LanguageTable& table, const std::filesystem::path& languageFolder,
                                  const std::string& MyLagIndex, const CodePage& codePage)
{
    LanguageChoice choice;
    std::string chosenError;
    if (table.LoadLanguageTable(languageFolder, MyLagIndex, codePage, &chosenError)) {
        choice.ok = true;
        choice.usedBaseName = MyLagIndex;
        return choice;
    }
    for (const std::string& baseName : languageFileNames(languageFolder)) {
        if (baseName == MyLagIndex || !table.LoadLanguageTable(languageFolder, baseName, codePage, nullptr))
            continue;
        choice.ok = true;
        choice.usedBaseName = baseName;
        const std::string notice = replaceAll(table.text(StringId::LanguageFallback), "@Chosen", MyLagIndex + ".ini");
        choice.notice = replaceAll(notice, "@Used", baseName + ".ini");
        return choice;
    }
    choice.error = chosenError + " No other language file in " + pathToUtf8(languageFolder) + " can be loaded.";
    return choice;
}

}  // namespace leafmill
