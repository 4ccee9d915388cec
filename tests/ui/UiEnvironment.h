#pragma once

#include "ScriptedPrompter.h"
#include "TestSupport.h"

#include <QString>

#include <filesystem>
#include <memory>
#include <string>

namespace leafmill {
class LanguageTable;
class SettingsStore;
class UiContext;
}  // namespace leafmill

namespace leafmill::test {

// A program folder of its own for one test: the shipped main.ini, language
// files and skin pictures copied into a temporary folder, loaded as start-up
// loads them, with a scripted prompter.
class UiEnvironment {
public:
    UiEnvironment();
    ~UiEnvironment();

    const std::filesystem::path& programFolder() const { return programFolder_; }
    std::filesystem::path iniPath() const { return programFolder_ / "main.ini"; }

    // Changes main.ini before load().
    void setIniKey(const std::string& section, const std::string& key, const std::string& value);
    // The value main.ini holds now.
    std::string iniKey(const std::string& section, const std::string& key) const;

    // LoadSettings and the language of MyLagIndex; fails the test on error.
    void load();

    UiContext& context() { return *context_; }
    SettingsStore& store() { return *store_; }
    ScriptedPrompter prompter;

    // Language string `index` of the table in use.
    QString text(int index) const;

private:
    TempDir dir_;
    std::filesystem::path programFolder_;
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<UiContext> context_;
};

// A folder of the temporary tree as the windows show paths.
QString shown(const std::filesystem::path& path);

}  // namespace leafmill::test
