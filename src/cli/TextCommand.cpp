#include "cli/CliEnvironment.h"
#include "cli/Commands.h"
#include "cli/StandardInput.h"
#include "convert/ConfinedReading.h"
#include "convert/ContentDispatch.h"
#include "convert/EndMessage.h"
#include "convert/TextSource.h"
#include "extract/Formats.h"
#include "io/FileAccess.h"
#include "io/InputFile.h"
#include "lang/LanguageTable.h"
#include "text/AsciiCase.h"
#include "text/CodePage.h"

#include <algorithm>
#include <cstdio>
#include <new>

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

// A text source in the code page is its own text: copied byte for byte,
// without a byte-order mark.
int copyText(const std::string& source, InputFile& file, std::size_t skip)
{
    std::string error;
    std::string block;
    file.rewind();
    for (;;) {
        if (!file.read(block, 1 << 16, &error))
            return fail(source, error);
        if (block.empty())
            return kExitDone;
        const std::size_t skipped = std::min(skip, block.size());
        skip -= skipped;
        if (!writeOut(std::string_view(block).substr(skipped)))
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
    return chooseByContent(bytes, said, table, dottedEnding(asciiLowered(format)));
}

int textOfStandardInput(const std::string& format, const CodePage& codePage, std::string_view sourceEncoding)
{
    std::string bytes, error;
    if (!readStandardInput(
            bytes, [] { return false; }, &error))
        return fail(kStandardInputName, error);
    const ContentChoice content = standardInputKind(bytes, format);
    if (!content.kind)
        return fail(kStandardInputName, kUnknownKind);
    warn(kStandardInputName, content.warning);
    // Standard input is read here, not apart under a limit: a document that
    // needs more memory than there is fails instead of ending the program.
    if (content.kind->extractor) {
        try {
            return writeText(kStandardInputName, extractBytes(bytes, *content.kind, codePage, sourceEncoding, nullptr),
                             codePage);
        } catch (const std::bad_alloc&) {
            return fail(kStandardInputName, "there is not enough memory to read it");
        }
    }
    const SourceEncoding encoding
        = chooseSourceEncoding(std::string_view(bytes).substr(0, kEncodingSample), codePage, sourceEncoding);
    if (encoding.isCodePage)
        return writeOut(std::string_view(bytes).substr(encoding.markSize)) && std::fflush(stdout) == 0
            ? kExitDone
            : fail(kStandardInputName, kNotWritten);
    ExtractedText decoded;
    decoded.text = decodeSource(bytes, encoding);
    return writeText(kStandardInputName, decoded, codePage);
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
    const std::string& sourceEncoding
        = options.sourceEncoding.value_or(environment.settings.NotesReader.SourceEncoding);
    if (source == kStandardInput)
        return textOfStandardInput(options.format, *environment.codePage, sourceEncoding);
    // Read apart, under the limits of a run: the text reaches the standard
    // output once the reader has given all of it.
    bool written = true;
    SourceSink sink;
    sink.begin = [](std::string_view) {};
    sink.bytes = [&](std::string_view bytes) { written = written && writeOut(bytes); };
    bool stopped = false;
    InputFile file;
    PreparedSource prepared = openSource(source, defaultDispatchTable(), file);
    if (prepared.failure == SourceFailure::None)
        prepared = readSourceConfined(source, file, defaultDispatchTable(), *environment.codePage, PageTextRules {},
                                      sourceEncoding, sink, SourceLimits {}, nullptr, &stopped);
    for (const std::string& warning : prepared.warnings)
        warn(source, warning);
    if (prepared.failure != SourceFailure::None) {
        // Without the settings' language the reasons are the built-in English ones.
        SourceOutcome outcome;
        outcome.path = source;
        outcome.failure = prepared.failure;
        outcome.reason = prepared.reason;
        std::fprintf(stderr, "leafmill-cli: %s\n", failureLine(LanguageTable(), outcome).c_str());
        return kExitSourceFailed;
    }
    if (!prepared.readAs.empty())
        std::fprintf(stderr, "leafmill-cli: %s: read as %s\n", source.c_str(), prepared.readAs.c_str());
    if (prepared.cutInPlace)
        return copyText(source, file, prepared.skip);
    if (!written || std::fflush(stdout) != 0)
        return fail(source, kNotWritten);
    return kExitDone;
}

}  // namespace leafmill::cli
