#include "ui/UiContext.h"

#include "app/SettingsStore.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "ui/Prompter.h"
#include "ui/ToolkitLanguage.h"
#include "ui/UiStyle.h"

namespace leafmill {

UiContext::UiContext(SettingsStore& store, std::shared_ptr<const LanguageTable> language, Prompter& prompter,
                     ProgramFiles files)
    : store_(store)
    , language_(std::move(language))
    , prompter_(prompter)
    , files_(std::move(files))
{
    useToolkitLanguage(language_->Locale);
}

QString UiContext::imagesFolder() const
{
    return ui::fromPath(files_.dataFolder / "images");
}

QString UiContext::text(int index) const
{
    return ui::fromUtf8(language_->text(index));
}

QString UiContext::title() const
{
    return ui::fromUtf8(language_->SoftName);
}

QString UiContext::versionTitle() const
{
    return ui::fromUtf8(language_->SoftName) + QLatin1Char(' ') + ui::fromUtf8(language_->SoftVersion);
}

bool UiContext::switchLanguage(const std::string& baseName, std::string* error)
{
    auto table = std::make_shared<LanguageTable>();
    if (!table->LoadLanguageTable(languageFolder(), baseName, *store_.codePage(), error))
        return false;
    language_ = std::move(table);
    useToolkitLanguage(language_->Locale);
    return true;
}

bool UiContext::saveSettings(QWidget* owner)
{
    std::string reason;
    if (store_.SaveSettings(&reason))
        return true;
    QString text = this->text(StringId::SettingsNotSaved);
    text.replace(QStringLiteral("@File"), ui::fromPath(iniPath()));
    text.replace(QStringLiteral("@Reason"), ui::fromUtf8(reason));
    message(owner, text);
    return false;
}

void UiContext::message(QWidget* owner, const QString& text) const
{
    prompter_.message(owner, title(), text);
}

bool UiContext::question(QWidget* owner, const QString& text) const
{
    return prompter_.question(owner, title(), text);
}

}  // namespace leafmill
