#include "cli/CliEnvironment.h"
#include "cli/Commands.h"
#include "convert/ConfinedReading.h"
#include "convert/EndMessage.h"
#include "convert/InputFile.h"
#include "convert/SourceDispatch.h"
#include "io/FileAccess.h"
#include "lang/LanguageTable.h"
#include "text/CodePage.h"

#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace leafmill::cli {

namespace {

bool writeOut(std::string_view bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
}

int fail(const std::string& source, const std::string& reason)
{
    std::fprintf(stderr, "leafmill-cli: %s: %s\n", source.c_str(), reason.c_str());
    return kExitSourceFailed;
}

// A text source is its own text: copied byte for byte.
int copyText(const std::string& source)
{
    InputFile file;
    std::string error;
    if (!file.open(pathFromUtf8(source), &error))
        return fail(source, error);
    std::string block;
    for (;;) {
        if (!file.read(block, 1 << 16, &error))
            return fail(source, error);
        if (block.empty())
            return kExitDone;
        if (!writeOut(block))
            return fail(source, "the text could not be written to the standard output");
    }
}

}  // namespace

int runTextCommand(const CliOptions& options)
{
    CliEnvironment environment;
    std::string notice;
    std::string error;
    if (!loadEnvironment(options.settingsFile, EnvironmentNeeds::CodePage, &environment, &notice, &error)) {
        std::fprintf(stderr, "leafmill-cli: %s\n", error.c_str());
        return kExitCannotStart;
    }
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::string& source = options.sources.front();
    const SourceKind* named = findSourceKind(source, defaultDispatchTable());
    if (!named)
        return fail(source, "not a kind of document leafmill-cli reads");
    // Read apart, under the limits of a run: the text reaches the standard
    // output once the reader has given all of it.
    bool written = true;
    SourceSink sink;
    sink.begin = [](std::string_view) {};
    sink.bytes = [&](std::string_view bytes) { written = written && writeOut(bytes); };
    bool stopped = false;
    const PreparedSource prepared = readSourceConfined(source, *named, defaultDispatchTable(), *environment.codePage,
                                                       PageTextRules {}, sink, SourceLimits {}, nullptr, &stopped);
    for (const std::string& warning : prepared.warnings)
        std::fprintf(stderr, "leafmill-cli: %s: warning: %s\n", source.c_str(), warning.c_str());
    if (prepared.failure != SourceFailure::None) {
        // Without the settings' language the reasons are the built-in English ones.
        SourceOutcome outcome;
        outcome.path = source;
        outcome.failure = prepared.failure;
        outcome.reason = prepared.reason;
        std::fprintf(stderr, "leafmill-cli: %s\n", failureLine(LanguageTable(), outcome).c_str());
        return kExitSourceFailed;
    }
    if (prepared.cutInPlace)
        return copyText(source);
    if (!written || std::fflush(stdout) != 0)
        return fail(source, "the text could not be written to the standard output");
    return kExitDone;
}

}  // namespace leafmill::cli
