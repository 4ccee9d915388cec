#include "ui/ToolkitLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace leafmill {

void useToolkitLanguage(const std::string& locale)
{
    static std::unique_ptr<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed.get());
        installed.reset();
    }
    const QLocale language = locale.empty() ? QLocale::system() : QLocale(QString::fromStdString(locale));
    QLocale::setDefault(language);
    if (locale.empty())
        return;
    auto translator = std::make_unique<QTranslator>();
    if (translator->load(language, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        && QCoreApplication::installTranslator(translator.get()))
        installed = std::move(translator);
}

}  // namespace leafmill
