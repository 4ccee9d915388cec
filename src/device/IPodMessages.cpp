#include "device/IPodMessages.h"

#include "convert/EndMessage.h"
#include "device/IPodBooks.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "targets/notes/ReaderLimits.h"

#include <cstdio>

namespace leafmill {

std::string readableSize(std::uintmax_t bytes)
{
    static constexpr const char* kUnits[] = {"bytes", "KB", "MB", "GB", "TB"};
    double size = static_cast<double>(bytes);
    std::size_t unit = 0;
    while (size >= 1000 && unit + 1 < std::size(kUnits)) {
        size /= 1000;
        ++unit;
    }
    char text[32];
    std::snprintf(text, sizeof text, unit == 0 || size >= 100 ? "%.0f %s" : "%.1f %s", size, kUnits[unit]);
    return text;
}

std::string changeMessage(const LanguageTable& language, const IPodChange& change, int doneText,
                          const std::string& folder)
{
    // By outcome, in the order of IPodChange::Outcome; Done takes the caller's.
    static constexpr int kTexts[] = {0,
                                     StringId::NotABook,
                                     StringId::IPodBookNotOurs,
                                     StringId::SendTooManyNotes,
                                     StringId::SendNoRoom,
                                     StringId::NotInVolumes,
                                     StringId::LastVolume,
                                     StringId::IPodChangeFailed};
    const auto outcome = static_cast<std::size_t>(change.outcome);
    std::string text = language.text(change.outcome == IPodChange::Outcome::Done ? doneText : kTexts[outcome]);
    if (change.folderKept)
        text += "\n" + language.text(StringId::FolderKept);
    text = replaceAll(std::move(text), "@Book", change.book);
    text = replaceAll(std::move(text), "@Folder", folder);
    text = replaceAll(std::move(text), "@Count", std::to_string(change.count));
    text = replaceAll(std::move(text), "@Limit", std::to_string(kReaderNoteLimit));
    text = replaceAll(std::move(text), "@Size", readableSize(static_cast<std::uintmax_t>(change.count)));
    return replaceAll(std::move(text), "@Reason", change.reason);
}

}  // namespace leafmill
