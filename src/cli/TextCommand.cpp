#include "cli/CliEnvironment.h"
#include "cli/Commands.h"
#include "convert/ContentDispatch.h"
#include "convert/InputFile.h"
#include "convert/SourceConverter.h"
#include "convert/SourceDispatch.h"
#include "io/FileAccess.h"
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
    const ContentChoice content = chooseByContent(source, *named, defaultDispatchTable());
    const SourceKind* kind = content.kind;
    if (!content.warning.empty())
        std::fprintf(stderr, "leafmill-cli: %s: warning: %s\n", source.c_str(), content.warning.c_str());
    if (!kind->extractor)
        return copyText(source);

    const ExtractedText extracted = extractSource(source, *kind, *environment.codePage, nullptr);
    for (const std::string& warning : extracted.warnings)
        std::fprintf(stderr, "leafmill-cli: %s: warning: %s\n", source.c_str(), warning.c_str());
    if (extracted.failure != SourceFailure::None)
        return fail(source, extracted.reason);
    if (!writeOut(environment.codePage->fromUtf8(extracted.text)) || std::fflush(stdout) != 0)
        return fail(source, "the text could not be written to the standard output");
    return kExitDone;
}

}  // namespace leafmill::cli
