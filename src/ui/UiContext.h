#pragma once

#include "app/ProgramFiles.h"

#include <QString>

#include <filesystem>
#include <memory>
#include <string>

class QWidget;

namespace leafmill {

class LanguageTable;
class Prompter;
class SettingsStore;

// What every window works with: the settings, the language table in use,
// the prompter and where the program's files are.
class UiContext {
public:
    UiContext(SettingsStore& store, std::shared_ptr<const LanguageTable> language, Prompter& prompter,
              ProgramFiles files);

    SettingsStore& store() const { return store_; }
    Prompter& prompter() const { return prompter_; }
    const std::filesystem::path& iniPath() const { return files_.settingsFile; }
    std::filesystem::path languageFolder() const { return files_.dataFolder / "language"; }
    QString imagesFolder() const;

    // The table in use; a run keeps the one it started with.
    std::shared_ptr<const LanguageTable> language() const { return language_; }
    // Language string `index`.
    QString text(int index) const;
    // The caption of every message box: the program's name.
    QString title() const;
    // The main window's title: the name, a blank and the version.
    QString versionTitle() const;

    // Loads <baseName>.ini from the language folder and makes it the table in
    // use, Qt's own texts following its locale; on failure the old table
    // stays, the reason goes to *error.
    bool switchLanguage(const std::string& baseName, std::string* error);

    // SaveSettings; a failure is told to the user (string 39).
    bool saveSettings(QWidget* owner);

    // Message boxes with the program's title as caption.
    void message(QWidget* owner, const QString& text) const;
    bool question(QWidget* owner, const QString& text) const;

private:
    SettingsStore& store_;
    std::shared_ptr<const LanguageTable> language_;
    Prompter& prompter_;
    ProgramFiles files_;
};

}  // namespace leafmill
