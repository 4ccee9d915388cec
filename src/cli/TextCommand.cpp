#include "cli/CliEnvironment.h"
#include "cli/Commands.h"
#include "cli/StandardInput.h"
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

// A text source in the encoding its bytes are in (or the one chosen), put
// into the code page; which one is said when it is not the code page.
int textOfTextSource(const std::string& source, const CodePage& codePage, std::string_view sourceEncoding)
{
    const TextSourceCheck check = inspectTextSource(pathFromUtf8(source), codePage, sourceEncoding);
    if (check.form != TextForm::Text)
        return fail(source, check.reason);
    if (check.encoding.isCodePage)
        return copyText(source, check.encoding.markSize);
    std::fprintf(stderr, "leafmill-cli: %s: read as %s\n", source.c_str(), check.encoding.encoding.label.c_str());
    return writeText(source, readTextSource(source, check.encoding), codePage);
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
    if (content.kind->extractor)
        return writeText(kStandardInputName, extractBytes(bytes, *content.kind, codePage, sourceEncoding, nullptr),
                         codePage);
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
    const ContentChoice content = chooseSourceKind(source, defaultDispatchTable());
    const SourceKind* kind = content.kind;
    if (!kind)
        return fail(source, kUnknownKind);
    warn(source, content.warning);
    if (!kind->extractor)
        return textOfTextSource(source, *environment.codePage, sourceEncoding);
    return writeText(source, extractSource(source, *kind, *environment.codePage, sourceEncoding, nullptr),
                     *environment.codePage);
}

}  // namespace leafmill::cli
