#include "cli/CliEnvironment.h"
#include "cli/Commands.h"
#include "io/FileAccess.h"
#include "targets/notes/NotesCheck.h"
#include "text/CodePage.h"
#include "text/PageEncoder.h"

#include <cstdio>

namespace leafmill::cli {

int runCheckCommand(const CliOptions& options)
{
    CliEnvironment environment;
    if (!loadForFolder(options.settingsFile, options.checkFolder, "folder", &environment))
        return kExitCannotStart;
    std::string error;
    NotesReaderSettings notes = environment.settings.NotesReader;
    notes.PageEncoding = options.reader.encoding.value_or(notes.PageEncoding);
    const std::string name = readerEncodingFor(notes, environment.codePage->name());
    const std::shared_ptr<const PageEncoder> reader = PageEncoder::open(name, &error);
    if (!reader) {
        std::fprintf(stderr, "leafmill-cli: the encoding %s cannot be used: %s\n", name.c_str(), error.c_str());
        return kExitCannotStart;
    }
    const std::vector<CheckFinding> findings = checkNotes(pathFromUtf8(options.checkFolder), *reader);
    std::fprintf(stdout, "%s\n", checkReport(*environment.language, options.checkFolder, findings).c_str());
    return findings.empty() ? kExitDone : kExitSourceFailed;
}

}  // namespace leafmill::cli
