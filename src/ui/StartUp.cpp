#include "ui/StartUp.h"

#include "app/ProgramFiles.h"
#include "app/SettingsStore.h"
#include "io/ProgramFolder.h"
#include "lang/LanguageChoice.h"
#include "ui/Frm_Loading.h"
#include "ui/Frm_Main.h"
#include "ui/QtPrompter.h"
#include "ui/UiContext.h"
#include "ui/UiStyle.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <string>

namespace leafmill {

// Before the language is loaded there is only fixed English to say it with.
static int startUpFailed(Prompter& prompter, const std::string& reason)
{
    std::fprintf(stderr, "Leafmill: %s\n", reason.c_str());
    prompter.critical(nullptr, QStringLiteral("Leafmill"), ui::fromUtf8(reason));
    return 1;
}

int runLeafmill(int argc, char** argv)
{
    QApplication app(argc, argv);
    ui::installDefaultFont();
    QtPrompter prompter;

    const ProgramFiles files = locateProgramFiles(programFolder(), userConfigFolder());
    std::string error;
    if (!provideUserSettings(files, &error))
        return startUpFailed(prompter, error);
    SettingsStore store(files.settingsFile);
    if (!store.LoadSettings(&error))
        return startUpFailed(prompter, error);

    auto language = std::make_shared<LanguageTable>();
    const LanguageChoice choice
        = loadChosenLanguage(*language, files.dataFolder / "language", store.record().MyLagIndex, *store.codePage());
    if (!choice.ok)
        return startUpFailed(prompter, choice.error);
    store.record().MyLagIndex = choice.usedBaseName;
    UiContext context(store, language, prompter, files);

    auto* splash = new Frm_Loading(*language, context.imagesFolder());
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->show();

    Frm_Main mainWindow(context);
    splash->setMainWindow(&mainWindow);
    if (!choice.notice.empty()) {
        // Told once the main window is up, after the splash has shown it.
        const QString notice = ui::fromUtf8(choice.notice);
        QObject::connect(
            splash->timer(), &QTimer::timeout, &mainWindow,
            [&mainWindow, &context, notice] { context.message(&mainWindow, notice); }, Qt::QueuedConnection);
    }
    return app.exec();
}

}  // namespace leafmill
