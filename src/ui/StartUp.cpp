#include "ui/StartUp.h"

#include "app/ProgramFiles.h"
#include "app/SettingsStore.h"
#include "io/ProgramFolder.h"
#include "lang/LanguageChoice.h"
#include "ui/Frm_Loading.h"
#include "ui/Frm_Main.h"
#include "ui/QtPrompter.h"
#include "ui/StartArguments.h"
#include "ui/UiContext.h"
#include "ui/UiStyle.h"

#include <QApplication>
#include <QFileInfo>
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

// --help and --version answer before the toolkit starts, so they need no display.
static bool answeredWithoutWindow(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    switch (readStartArguments(arguments).command) {
    case StartArguments::Command::Help:
        std::fputs(startUsage().toLocal8Bit().constData(), stdout);
        return true;
    case StartArguments::Command::Version:
        std::puts("leafmill " LEAFMILL_VERSION_TEXT);
        return true;
    default:
        return false;
    }
}

// The files and folders named after the toolkit's options; those that do not
// exist are told on stderr and left out.
static bool readPaths(QStringList* paths)
{
    const StartArguments arguments = readStartArguments(QCoreApplication::arguments().mid(1));
    if (arguments.command == StartArguments::Command::Refused) {
        std::fprintf(stderr, "leafmill: unknown option %s\nTry 'leafmill --help'.\n",
                     arguments.refused.toLocal8Bit().constData());
        return false;
    }
    for (const QString& path : arguments.paths) {
        if (QFileInfo::exists(path))
            *paths << path;
        else
            std::fprintf(stderr, "leafmill: %s: no such file or folder\n", path.toLocal8Bit().constData());
    }
    return true;
}

int runLeafmill(int argc, char** argv)
{
    if (answeredWithoutWindow(argc, argv))
        return 0;
    QApplication app(argc, argv);
    QStringList paths;
    if (!readPaths(&paths))
        return 2;
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
    mainWindow.addSources(paths);
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
