#include "app/classIniFile.h"
#include "cli/CliEnvironment.h"
#include "cli/Commands.h"
#include "cli/TerminalProgress.h"
#include "convert/EndMessage.h"
#include "convert/OutputRun.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace leafmill::cli {

namespace {

void reportFailures(const RunResult& result, const LanguageTable& language)
{
    for (const SourceOutcome& source : result.sources) {
        if (source.failure == SourceFailure::None)
            continue;
        std::string line = failureLine(language, source);
        // The language's words name the kind of failure; the system's say what exactly.
        if (source.failure == SourceFailure::Missing && !source.reason.empty())
            line += " (" + source.reason + ")";
        std::fprintf(stderr, "leafmill-cli: %s\n", line.c_str());
    }
}

} // namespace

int runBookCommand(const CliOptions& options)
{
    CliEnvironment environment;
    std::string notice;
    std::string error;
    if (!loadEnvironment(options.settingsFile, true, &environment, &notice, &error)) {
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

    OutputRun run(environment.settings, environment.codePage, environment.language);
    TerminalProgress progress(stderr, options.sources.size());
    const RunResult result = run.run(options.bookName, options.sources, options.outputFolder, progress);
    progress.finish();

    switch (result.end) {
    case RunEnd::Refused:
        std::fprintf(stderr, "leafmill-cli: %s\n", result.message.c_str());
        return kExitCannotStart;
    case RunEnd::BookFolderFailed:
        std::fprintf(stderr, "leafmill-cli: %s\n", result.message.c_str());
        return kExitSourceFailed;
    case RunEnd::Completed:
    case RunEnd::Stopped:
        break;
    }
    std::fprintf(stdout, "%s\n", result.message.c_str());
    std::fflush(stdout);
    reportFailures(result, *environment.language);
    return result.anySourceFailed() ? kExitSourceFailed : kExitDone;
}

} // namespace leafmill::cli
