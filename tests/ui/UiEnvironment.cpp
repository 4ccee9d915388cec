#include "UiEnvironment.h"
#include "app/classIniFile.h"
#include "lang/LanguageTable.h"
#include "ui/UiStyle.h"

#include <gtest/gtest.h>

namespace leafmill::test {

namespace fs = std::filesystem;

UiEnvironment::UiEnvironment()
{
    fs::create_directories(programFolder_);
    fs::copy_file(assetsDir() / "main.ini", iniPath());
    for (const char* folder : {"language", "images"})
        fs::copy(assetsDir() / folder, programFolder_ / folder, fs::copy_options::recursive);
}

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
    context_.reset();
    store_ = std::make_unique<SettingsStore>(iniPath());
    std::string error;
    ASSERT_TRUE(store_->LoadSettings(&error)) << error;
    auto language = std::make_shared<LanguageTable>();
    ASSERT_TRUE(language->LoadLanguageTable(programFolder_ / "language", store_->record().MyLagIndex,
                                            *store_->codePage(), &error))
        << error;
    context_ = std::make_unique<UiContext>(*store_, language, prompter, portableLayout(programFolder_));
}

QString shown(const fs::path& path)
{
    return ui::fromPath(path);
}

}  // namespace leafmill::test
