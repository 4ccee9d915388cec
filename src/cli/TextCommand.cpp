#include "cli/CliEnvironment.h"
#include "cli/Commands.h"
#include "cli/StandardInput.h"
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

constexpr const char* kUnknownKind = "not a kind of document leafmill-cli reads";
constexpr const char* kNotWritten = "the text could not be written to the standard output";

void warn(const std::string& source, const std::string& warning)
{
    if (!warning.empty())
        std::fprintf(stderr, "leafmill-cli: %s: warning: %s\n", source.c_str(), warning.c_str());
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
            return fail(source, kNotWritten);
    }
}

// The extracted text in the code page, the reader's warnings on stderr.
int writeText(const std::string& source, const ExtractedText& extracted, const CodePage& codePage)
{
    for (const std::string& warning : extracted.warnings)
        warn(source, warning);
    if (extracted.failure != SourceFailure::None)
        return fail(source, extracted.reason);
    if (!writeOut(codePage.fromUtf8(extracted.text)) || std::fflush(stdout) != 0)
        return fail(source, kNotWritten);
    return kExitDone;
}

// The kind standard input is read as: the one --format names, checked
// against the content as a file's ending is, else the content's.
ContentChoice standardInputKind(std::string_view bytes, const std::string& format)
{
    const DispatchTable& table = defaultDispatchTable();
    if (format.empty())
        return {findKindByContent(bytes, table), {}};
    const SourceKind& said = *findFormat(format, table);
    return chooseByContent(bytes, said, table, fileEnding(said));
}

int textOfStandardInput(const std::string& format, const CodePage& codePage)
{
    std::string bytes, error;
    if (!readStandardInput(
            bytes, [] { return false; }, &error))
        return fail(kStandardInputName, error);
    const ContentChoice content = standardInputKind(bytes, format);
    if (!content.kind)
        return fail(kStandardInputName, kUnknownKind);
    warn(kStandardInputName, content.warning);
    if (!content.kind->extractor)
        return writeOut(bytes) && std::fflush(stdout) == 0 ? kExitDone : fail(kStandardInputName, kNotWritten);
    return writeText(kStandardInputName, extractBytes(bytes, *content.kind, codePage, nullptr), codePage);
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
    if (source == kStandardInput)
        return textOfStandardInput(options.format, *environment.codePage);
    const ContentChoice content = chooseSourceKind(source, defaultDispatchTable());
    const SourceKind* kind = content.kind;
    if (!kind)
        return fail(source, kUnknownKind);
    warn(source, content.warning);
    if (!kind->extractor)
        return copyText(source);
    return writeText(source, extractSource(source, *kind, *environment.codePage, nullptr), *environment.codePage);
}

}  // namespace leafmill::cli
