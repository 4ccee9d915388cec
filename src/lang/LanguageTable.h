#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace leafmill {

class CodePage;

// The texts the program shows, loaded from one language file of the
// language folder and addressed by number.
class LanguageTable {
public:
    std::string SoftName;  // product title, [Info] SoftName
    std::string HomePage;  // [Info] HomePage, shown by the splash
    // [Info] Locale: the language of the texts as a locale name ("zh_CN"),
    // for the toolkit's own texts and for numbers; empty when not given.
    std::string Locale;
    std::string SoftVersion = "1.60";  // the program's version text
    int32_t MaxLngNum = -1;  // highest string number of the file

    // Loads <languageFolder>/<baseName>.ini. Returns false and sets *error
    // when the file is missing or lacks a usable MaxLngNum; the table is then
    // unchanged.
    bool LoadLanguageTable(const std::filesystem::path& languageFolder, const std::string& baseName,
                           const CodePage& codePage, std::string* error);

    // Entry `index`; the empty text beyond MaxLngNum. Strings 33 and up,
    // which older language files may lack, fall back to built-in English
    // when the file lacks them.
    const std::string& text(int index) const;

    // Whether the program uses string `index` (numbers between the developers'
    // ranges may be unassigned).
    static bool isProgramString(int index);

private:
    std::vector<std::string> entries_;
};

}  // namespace leafmill
