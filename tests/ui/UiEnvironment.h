#pragma once

#include "ScriptedPrompter.h"
#include "TestSupport.h"
#include "app/SettingsStore.h"
#include "ui/UiContext.h"

#include <filesystem>
#include <memory>
#include <string>

namespace leafmill::test {

// One test's own copy of the shipped program folder, loaded as at start-up, with a scripted prompter.
class UiEnvironment {
public:
    UiEnvironment();

    const std::filesystem::path& programFolder() const { return programFolder_; }
    std::filesystem::path iniPath() const { return programFolder_ / "main.ini"; }
    // A key of main.ini, set before load() or read after a save.
    void setIniKey(const std::string& section, const std::string& key, const std::string& value);
    std::string iniKey(const std::string& section, const std::string& key) const;
    // Loads the settings and their language as at start-up; fails the test on error.
    void load();

    UiContext& context() { return *context_; }
    SettingsStore& store() { return *store_; }
    QString text(int index) const { return context_->text(index); }
    ScriptedPrompter prompter;

private:
    TempDir dir_;
    std::filesystem::path programFolder_ = dir_ / "Leafmill";
    std::unique_ptr<SettingsStore> store_;
    std::unique_ptr<UiContext> context_;
};

// A path as the windows show it.
QString shown(const std::filesystem::path& path);

}  // namespace leafmill::test
