#include "cli/CliEnvironment.h"
#include "cli/Commands.h"
#include "convert/EndMessage.h"
#include "device/IPodBooks.h"
#include "device/IPodFinder.h"
#include "device/IPodMessages.h"
#include "io/FileAccess.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "targets/notes/ReaderLimits.h"

#include <cstdio>

namespace leafmill::cli {

namespace {

// Each iPod with its notes in use and free space, then its books.
void listIPods(const LanguageTable& language, const std::vector<IPodVolume>& iPods)
{
    if (iPods.empty())
        std::printf("%s\n", language.text(StringId::NoIPod).c_str());
    for (const IPodVolume& iPod : iPods) {
        std::string about;
        for (const std::string& part : {iPod.model, iPod.format})
            if (!part.empty())
                about += (about.empty() ? " - " : ", ") + part;
        std::string use
            = replaceAll(language.text(StringId::IPodNotesInUse), "@Notes", std::to_string(iPod.notesInUse));
        use = replaceAll(std::move(use), "@Limit", std::to_string(kReaderNoteLimit));
        use = replaceAll(std::move(use), "@Free", readableSize(iPod.freeBytes));
        std::printf("%s%s\n  %s\n", pathToUtf8(iPod.root).c_str(), about.c_str(), use.c_str());
        for (const BookOnIPod& book : booksOnIPod(iPod.notes)) {
            std::string entry = replaceAll(language.text(StringId::IPodBookEntry), "@Book", book.name);
            entry = replaceAll(std::move(entry), "@Notes", std::to_string(book.notes));
            std::printf("  %s%s\n", entry.c_str(),
                        book.ours ? (" - " + language.text(StringId::MadeByLeafmill)).c_str() : "");
        }
    }
}

// The Notes folder the change goes to: the iPod at the mount point given, or
// the one connected. Empty after saying why there is none.
std::filesystem::path notesFolder(const std::string& mountPoint)
{
    if (!mountPoint.empty()) {
        if (isIPodVolume(pathFromUtf8(mountPoint)))
            return pathFromUtf8(mountPoint) / "Notes";
        std::fprintf(stderr, "leafmill-cli: %s is no iPod: it has no iPod_Control and Notes folder\n",
                     mountPoint.c_str());
        return {};
    }
    const std::vector<IPodVolume> iPods = connectedIPodVolumes();
    if (iPods.size() == 1)
        return iPods.front().notes;
    if (iPods.empty())
        std::fprintf(stderr, "leafmill-cli: no iPod is connected\n");
    else
        std::fprintf(stderr, "leafmill-cli: %zu iPods are connected: name one with --to MOUNTPOINT\n", iPods.size());
    return {};
}

}  // namespace

int runIPodCommand(const CliOptions& options)
{
    CliEnvironment environment;
    if (!loadForFolder(options.settingsFile, options.iPodVolume.empty() ? "." : options.iPodVolume, "mount point",
                       &environment))
        return kExitCannotStart;
    if (options.command == CliOptions::Command::IPods) {
        listIPods(*environment.language, connectedIPodVolumes());
        return kExitDone;
    }
    const std::filesystem::path notes = notesFolder(options.iPodVolume);
    if (notes.empty())
        return kExitCannotStart;
    IPodChange change;
    int done = StringId::BookSent;
    if (options.command == CliOptions::Command::Send) {
        change = sendBook(pathFromUtf8(options.iPodBook), notes);
    } else if (options.command == CliOptions::Command::NextVolume) {
        change = sendNextVolume(pathFromUtf8(options.iPodBook), notes);
    } else {
        change = removeBook(notes, options.iPodBook);
        done = StringId::BookRemoved;
    }
    const std::string message = changeMessage(*environment.language, change, done, options.iPodBook);
    if (change.outcome != IPodChange::Outcome::Done) {
        std::fprintf(stderr, "leafmill-cli: %s\n", message.c_str());
        return kExitSourceFailed;
    }
    std::printf("%s\n", message.c_str());
    return kExitDone;
}

}  // namespace leafmill::cli
