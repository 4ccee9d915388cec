#pragma once

#include "app/Settings.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace leafmill {

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

// The notes the book `bookName` made in `outputFolder` will take (a page per
// SingleFileSize bytes of the sources, and the contents note), and the room
// left by the notes already on the iPod outside the book's own folder.
NotesForecast forecastNotes(const Settings& settings, const std::vector<std::string>& sources,
                            const std::string& outputFolder, const std::string& bookName);

// True when the row's pages are longer than the reader shows.
bool pagesOverReaderLimit(const Settings& settings);

}  // namespace leafmill
