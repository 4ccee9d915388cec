#pragma once

#include "app/Settings.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace leafmill {

class LanguageTable;

class CodePage;
class LanguageTable;

// The Notes reader loads this many notes from its whole Notes folder, and
// shows this many bytes of each.
inline constexpr int64_t kReaderNoteLimit = 1000;
inline constexpr int32_t kReaderNoteBytes = 4096;

// How a book compares with what the reader loads, before the run.
struct NotesForecast {
    int64_t notes = 0;  // notes the book will take, about
    int64_t room = kReaderNoteLimit;  // notes the reader still loads beside the others
    bool tooMany() const { return notes > room; }
};

// The Notes folder of the iPod the folder lies in (a volume with iPod_Control
// and Notes at its root), or an empty path when it is on no iPod.
std::filesystem::path iPodNotesFolder(const std::filesystem::path& folder);

// Whether the volume has iPod_Control and Notes at its root.
bool isIPodVolume(const std::filesystem::path& volume);

// The Notes folder of a connected iPod and the room left on its volume.
struct IPodNotes {
    std::filesystem::path notes;
    std::uintmax_t freeBytes = 0;
};

// The folders volumes are mounted in on Linux and macOS, the drives on
// Windows; volumes lie that many levels below them (/media/<user>/<volume>).
std::vector<std::filesystem::path> mountPlaces();
#ifdef _WIN32
inline constexpr int kMountPlaceDepth = 0;
#else
inline constexpr int kMountPlaceDepth = 2;
#endif

// The iPods mounted at the places or up to `depth` levels below them, in
// name order.
std::vector<IPodNotes> connectedIPods(const std::vector<std::filesystem::path>& places, int depth);

// The notes the book `bookName` made in `outputFolder` will take, and the
// room left by the notes already on the iPod outside the book's own folder.
// The pages are reckoned from the sources' text as the page encoding writes
// it, beside the markup; the text of documents too large or slow to read
// twice is reckoned as their bytes.
NotesForecast forecastNotes(const Settings& settings, const CodePage& codePage, const LanguageTable& language,
                            const std::vector<std::string>& sources, const std::string& outputFolder,
                            const std::string& bookName);

// The notes of the Notes folder the book goes to, its own included, or the
// book's notes when it is on no iPod: what the reader has to load.
int64_t notesToLoad(const std::string& outputFolder, int64_t bookNotes);

// True when the row's pages are longer than the reader shows.
bool pagesOverReaderLimit(const Settings& settings);

// What the reader will not show of the chosen page size, in the user's
// language, or empty: told before a run by either front end.
std::string pageSizeWarning(const Settings& settings, const LanguageTable& language);

}  // namespace leafmill
