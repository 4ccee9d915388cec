#include "cli/CliEnvironment.h"
#include "cli/Commands.h"
#include "convert/ContentDispatch.h"
#include "convert/InputFile.h"
#include "convert/SourceConverter.h"
#include "convert/SourceDispatch.h"
#include "convert/TextSource.h"
#include "io/FileAccess.h"
#include "text/CodePage.h"

#include <algorithm>
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

// A text source in the code page is its own text: copied byte for byte,
// without a byte-order mark.
int copyText(const std::string& source, std::size_t skip)
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
        const std::size_t skipped = std::min(skip, block.size());
        skip -= skipped;
        if (!writeOut(std::string_view(block).substr(skipped)))
            return fail(source, "the text could not be written to the standard output");
    }
}

int writeText(const std::string& source, const CodePage& codePage, std::string_view sourceEncoding)
{
    const TextSourceCheck check = inspectTextSource(pathFromUtf8(source), codePage, sourceEncoding);
    if (check.form != TextForm::Text)
        return fail(source, check.reason);
    if (check.encoding.isCodePage)
        return copyText(source, check.encoding.markSize);
    std::fprintf(stderr, "leafmill-cli: %s: read as %s\n", source.c_str(), check.encoding.encoding.label.c_str());
    const ExtractedText extracted = readTextSource(source, check.encoding);
    if (extracted.failure != SourceFailure::None)
        return fail(source, extracted.reason);
    if (!writeOut(codePage.fromUtf8(extracted.text)) || std::fflush(stdout) != 0)
        return fail(source, "the text could not be written to the standard output");
    return kExitDone;
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
    const std::string& sourceEncoding
        = options.sourceEncoding.value_or(environment.settings.NotesReader.SourceEncoding);
    if (!kind->extractor)
        return writeText(source, *environment.codePage, sourceEncoding);

    const ExtractedText extracted = extractSource(source, *kind, *environment.codePage, sourceEncoding, nullptr);
    for (const std::string& warning : extracted.warnings)
        std::fprintf(stderr, "leafmill-cli: %s: warning: %s\n", source.c_str(), warning.c_str());
    if (extracted.failure != SourceFailure::None)
        return fail(source, extracted.reason);
    if (!writeOut(environment.codePage->fromUtf8(extracted.text)) || std::fflush(stdout) != 0)
        return fail(source, "the text could not be written to the standard output");
    return kExitDone;
}

}  // namespace leafmill::cli
