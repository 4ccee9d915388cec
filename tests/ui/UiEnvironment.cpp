#include "UiEnvironment.h"

#include "app/SettingsStore.h"
#include "app/classIniFile.h"
#include "lang/LanguageTable.h"
#include "ui/UiContext.h"
#include "ui/UiStyle.h"

#include <gtest/gtest.h>

namespace leafmill::test {

namespace fs = std::filesystem;

UiEnvironment::UiEnvironment()
    : programFolder_(dir_ / "Leafmill")
{
    const fs::path assets = fs::path(LEAFMILL_SOURCE_DIR) / "assets";
    fs::create_directories(programFolder_);
    fs::copy_file(assets / "main.ini", programFolder_ / "main.ini");
    fs::copy(assets / "language", programFolder_ / "language", fs::copy_options::recursive);
    fs::copy(assets / "images", programFolder_ / "images", fs::copy_options::recursive);
}

UiEnvironment::~UiEnvironment() = default;

void UiEnvironment::setIniKey(const std::string& section, const std::string& key, const std::string& value)
{
    classIniFile ini;
    ini.INIFileName(iniPath());
    ASSERT_TRUE(ini.WriteIniKey(section, key, value)) << ini.lastError();
}

std::string UiEnvironment::iniKey(const std::string& section, const std::string& key) const
{
    classIniFile ini;
    ini.INIFileName(iniPath());
    return ini.GetIniKey(section, key);
}

void UiEnvironment::load()
{
    store_ = std::make_unique<SettingsStore>(iniPath());
    std::string error;
    ASSERT_TRUE(store_->LoadSettings(&error)) << error;
    auto language = std::make_shared<LanguageTable>();
    ASSERT_TRUE(language->LoadLanguageTable(programFolder_ / "language", store_->record().MyLagIndex,
                                            *store_->codePage(), &error))
        << error;
    context_ = std::make_unique<UiContext>(*store_, language, prompter, portableLayout(programFolder_));
}

QString UiEnvironment::text(int index) const
{
    return context_->text(index);
}

QString shown(const fs::path& path)
{
    return ui::fromPath(path);
}

}  // namespace leafmill::test
