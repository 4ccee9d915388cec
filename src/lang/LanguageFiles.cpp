#include "lang/LanguageFiles.h"

#include "app/classIniFile.h"
#include "io/FileAccess.h"
#include "lang/BorrowedCodePage.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <system_error>

namespace leafmill {

namespace fs = std::filesystem;

namespace {

// The order of a file list: letter case aside, then exactly.
bool fileNameBefore(const std::string& a, const std::string& b)
{
    const std::string lowerA = asciiLowered(a), lowerB = asciiLowered(b);
    return lowerA != lowerB ? lowerA < lowerB : a < b;
}

}  // namespace

std::vector<std::string> languageFileNames(const fs::path& languageFolder)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(languageFolder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        const std::string name = pathToUtf8(it->path().filename());
        if (name.size() > 4 && name.ends_with(".ini"))
            names.push_back(name.substr(0, name.size() - 4));
    }
    std::sort(names.begin(), names.end(), fileNameBefore);
    return names;
}

LanguageList listLanguages(const fs::path& languageFolder, const std::string& MyLagIndex, const CodePage& codePage)
{
    LanguageList list;
    classIniFile ini(borrowed(codePage));
    for (const std::string& baseName : languageFileNames(languageFolder)) {
        ini.INIFileName(languageFolder / pathFromUtf8(baseName + ".ini"));
        std::string displayName = ini.GetIniKey("Info", "Language");
        if (displayName.empty())
            continue;
        if (baseName == MyLagIndex)
            list.selected = static_cast<int>(list.entries.size());
        list.entries.push_back({std::move(displayName), baseName});
    }
    return list;
}

}  // namespace leafmill
