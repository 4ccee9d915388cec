#include "cli/CliEnvironment.h"
#include "cli/Commands.h"
#include "cli/PageSizeChoice.h"
#include "cli/StandardInput.h"
#include "cli/TerminalProgress.h"
#include "convert/EndMessage.h"
#include "convert/OutputRun.h"
#include "io/FileAccess.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "targets/ChosenTarget.h"
#include "targets/notes/ReaderLimits.h"

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>

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

void reportSections(const RunResult& result, const LanguageTable& language, const OutputTarget& target)
{
    for (const MessageSection& section : runSections(language, result, target)) {
        if (!section.heading.empty())
            std::fprintf(stderr, "leafmill-cli: %s\n", section.heading.c_str());
        for (const std::string& line : section.lines)
            std::fprintf(stderr, "leafmill-cli: %s\n", line.c_str());
    }
    if (!result.notFinished.empty())
        std::fprintf(stderr, "leafmill-cli: %s\n", result.notFinished.c_str());
}

// Standard input among the sources becomes a file named after the book, so
// that its chapter and its whole-file page take the book's name. A book name
// the run refuses leaves it unread.
bool stageStandardInput(const CliOptions& options, std::vector<std::string>& sources, StagedInput& input,
                        std::string* error)
{
    const auto source = std::find(sources.begin(), sources.end(), kStandardInput);
    if (source == sources.end() || FixInput(options.bookName, sources.size()) != 0)
        return true;
    const DispatchTable& table = defaultDispatchTable();
    const auto stopped = [] { return caughtSignal != 0; };
    if (!input.stage(options.bookName, options.format, table, stopped, error))
        return false;
    *source = input.path();
    return true;
}

// A book the reader cannot show whole is still made, but not silently.
void warnAboutReaderLimits(const CliEnvironment& environment, const CliOptions& options,
                           const std::vector<std::string>& sources)
{
    const Settings& settings = environment.settings;
    const LanguageTable& language = *environment.language;
    if (!settings.NotesReader.present)
        return;
    const auto warn
        = [](const std::string& text) { std::fprintf(stderr, "leafmill-cli: warning: %s\n", text.c_str()); };
    if (const std::string warning = pageSizeWarning(settings, language); !warning.empty())
        warn(warning);
    const NotesForecast forecast
        = forecastNotes(settings, *environment.codePage, language, sources, options.outputFolder, options.bookName);
    if (forecast.tooMany() && settings.NotesReader.VolumeNotes == 0)
        warn(replaceAll(
            replaceAll(language.text(StringId::NotesForecastOverLimit), "@Notes", std::to_string(forecast.notes)),
            "@Limit", std::to_string(forecast.room)));
}

}  // namespace

int runBookCommand(const CliOptions& options)
{
    CliEnvironment environment;
    if (!loadForFolder(options.settingsFile, options.outputFolder, "output folder", &environment))
        return kExitCannotStart;

    options.reader.applyTo(environment.settings.NotesReader);
    std::string error;
    if (options.pageSize && !choosePageSize(*options.pageSize, environment.settings, &error)) {
        std::fprintf(stderr, "leafmill-cli: %s\n", error.c_str());
        return kExitCannotStart;
    }
    if (options.sourceEncoding)
        environment.settings.NotesReader.SourceEncoding = *options.sourceEncoding;

    OutputRun run(environment.settings, environment.codePage,
                  chosenTarget(environment.settings, environment.codePage, environment.language));
    TerminalProgress progress(stderr, options.sources.size());
    RunResult result;
    {
        const StopSignals signals(run);
        // Gone before the signals are let go, so that no stop leaves it behind.
        StagedInput input;
        std::vector<std::string> sources = options.sources;
        if (!stageStandardInput(options, sources, input, &error)) {
            std::fprintf(stderr, "leafmill-cli: %s\n", error.c_str());
            return kExitCannotStart;
        }
        warnAboutReaderLimits(environment, options, sources);
        result = run.run(options.bookName, sources, options.outputFolder, progress);
        for (SourceOutcome& source : result.sources)
            if (!input.path().empty() && source.path == input.path())
                source.path = kStandardInputName;
    }
    progress.finish();

    switch (result.end) {
    case RunEnd::Refused:
    case RunEnd::BookFolderFailed:
        std::fprintf(stderr, "leafmill-cli: %s\n", refusalText(*environment.language, result.refusal).c_str());
        return kExitCannotStart;
    case RunEnd::Completed:
    case RunEnd::Stopped:
        break;
    }
    std::fprintf(stdout, "%s\n", endSummary(*environment.language, result).c_str());
    std::fflush(stdout);
    reportSections(result, *environment.language, run.target());
    if (caughtSignal != 0)
        return 128 + caughtSignal;
    return result.finished() ? kExitDone : kExitSourceFailed;
}

}  // namespace leafmill::cli
