#pragma once

#include "app/Settings.h"
#include "app/classIniFile.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

class CodePage;
struct SettingsKey;

// The settings record and main.ini, read at start-up and written back on
// exit and when the settings dialog is confirmed. One shared classIniFile
// object is bound to the file for the store's whole life.
class SettingsStore {
public:
    explicit SettingsStore(std::filesystem::path iniPath);

    // Only the code page main.ini names, for a command that needs nothing
    // else; refused, with the same messages as LoadSettings, as null.
    static std::shared_ptr<const CodePage> LoadCodePage(const std::filesystem::path& iniPath, std::string* error);
    // Only the [NotesReader] SourceEncoding key, likewise ("auto" when absent).
    static bool LoadSourceEncoding(const std::filesystem::path& iniPath, std::string* value, std::string* error);

    // Fills the record. Returns false with a message naming the file, section
    // and key when main.ini is missing or a setting is refused.
    bool LoadSettings(std::string* error);

    // Writes the UserSettings section from the record, and the NotesReader
    // keys the record's reader settings call for, in one replacement. Returns false with the
    // reason when main.ini could not be replaced; the old file then stays.
    bool SaveSettings(std::string* error);

    Settings& record() { return record_; }
    const Settings& record() const { return record_; }

    // The program's code page; valid after a successful LoadSettings.
    std::shared_ptr<const CodePage> codePage() const { return codePage_; }

    // The factory cut words 0..CutWordNum as main.ini holds them now, in
    // their stored form ("enter", "space").
    std::vector<std::string> defaultCutWords() const;

private:
    bool saves(const SettingsKey& key) const;

    std::filesystem::path iniPath_;
    Settings record_;
    std::shared_ptr<const CodePage> codePage_;
    classIniFile ini_;
};

// The stored form of a cut word and back: "enter" is CR LF, "space" one blank
// (any letter case when decoding).
std::string DecodeCutWord(std::string_view stored);
std::string EncodeCutWord(std::string_view word);

}  // namespace leafmill
