#include "cli/CliEnvironment.h"
#include "cli/Commands.h"
#include "cli/TerminalProgress.h"
#include "convert/EndMessage.h"
#include "convert/OutputRun.h"
#include "convert/ReaderLimits.h"
#include "io/FileAccess.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace leafmill::cli {

namespace {

volatile std::sig_atomic_t caughtSignal = 0;
std::atomic<OutputRun*> runToStop {nullptr};
static_assert(std::atomic<OutputRun*>::is_always_lock_free);

// Ctrl-C or a termination ends the run at once, a reader at work included,
// after the page being written, so no page is left cut short and the
// temporary file goes.
extern "C" void stopOnSignal(int signalNumber)
{
    caughtSignal = signalNumber;
    if (OutputRun* run = runToStop.load())
        run->requestAbort();
}

// Catches the stop signals while it lives.
class StopSignals {
public:
    explicit StopSignals(OutputRun& run)
    {
        runToStop.store(&run);
        previousInterrupt_ = std::signal(SIGINT, stopOnSignal);
        previousTerminate_ = std::signal(SIGTERM, stopOnSignal);
    }
    ~StopSignals()
    {
        std::signal(SIGINT, previousInterrupt_);
        std::signal(SIGTERM, previousTerminate_);
        runToStop.store(nullptr);
    }
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

private:
    void (*previousInterrupt_)(int) = SIG_DFL;
    void (*previousTerminate_)(int) = SIG_DFL;
};

void reportSections(const RunResult& result, const LanguageTable& language)
{
    for (const MessageSection& section : endSections(language, result.sources)) {
        if (!section.heading.empty())
            std::fprintf(stderr, "leafmill-cli: %s\n", section.heading.c_str());
        for (const std::string& line : section.lines)
            std::fprintf(stderr, "leafmill-cli: %s\n", line.c_str());
    }
}

// A book the reader cannot show whole is still made, but not silently.
void warnAboutReaderLimits(const CliEnvironment& environment, const CliOptions& options)
{
    const Settings& settings = environment.settings;
    if (!settings.NotesReader.present)
        return;
    if (pagesOverReaderLimit(settings)) {
        const std::string size = std::to_string(settings.activeCutType().SingleFileSize);
        std::fprintf(stderr, "leafmill-cli: warning: %s\n",
                     replaceAll(environment.language->text(StringId::PageOverReaderLimit), "@Size", size).c_str());
    }
    const NotesForecast forecast = forecastNotes(settings, options.sources, options.outputFolder, options.bookName);
    if (forecast.tooMany())
        std::fprintf(
            stderr,
            "leafmill-cli: warning: the book will take about %lld notes, but the Notes reader loads only %lld more\n",
            static_cast<long long>(forecast.notes), static_cast<long long>(forecast.room));
}

}  // namespace

int runBookCommand(const CliOptions& options)
{
    CliEnvironment environment;
    std::string notice;
    std::string error;
    if (!loadEnvironment(options.settingsFile, EnvironmentNeeds::SettingsAndLanguage, &environment, &notice, &error)) {
        std::fprintf(stderr, "leafmill-cli: %s\n", error.c_str());
        return kExitCannotStart;
    }
    if (!notice.empty())
        std::fprintf(stderr, "leafmill-cli: %s\n", notice.c_str());
    std::error_code ec;
    if (!std::filesystem::is_directory(pathFromUtf8(options.outputFolder), ec)) {
        std::fprintf(stderr, "leafmill-cli: the output folder %s does not exist\n", options.outputFolder.c_str());
        return kExitCannotStart;
    }

    options.reader.applyTo(environment.settings.NotesReader);
    warnAboutReaderLimits(environment, options);

    OutputRun run(environment.settings, environment.codePage, environment.language);
    TerminalProgress progress(stderr, options.sources.size());
    RunResult result;
    {
        const StopSignals signals(run);
        result = run.run(options.bookName, options.sources, options.outputFolder, progress);
    }
    progress.finish();

    switch (result.end) {
    case RunEnd::Refused:
    case RunEnd::BookFolderFailed:
        std::fprintf(stderr, "leafmill-cli: %s\n", result.message.c_str());
        return kExitCannotStart;
    case RunEnd::Completed:
    case RunEnd::Stopped:
        break;
    }
    std::fprintf(stdout, "%s\n", result.summary.c_str());
    std::fflush(stdout);
    reportSections(result, *environment.language);
    if (caughtSignal != 0)
        return 128 + caughtSignal;
    return result.finished() ? kExitDone : kExitSourceFailed;
}

}  // namespace leafmill::cli
