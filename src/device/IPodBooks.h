#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace leafmill {

// A folder of an iPod's Notes folder.
struct BookOnIPod {
    std::string name;
    int64_t notes = 0;  // every file in it and below, as the reader counts them
    bool ours = false;  // Leafmill made it: its book record is there
};

// The folders of the Notes folder in the reader's menu order.
std::vector<BookOnIPod> booksOnIPod(const std::filesystem::path& notes);

// What became of a request to change the books on an iPod.
struct IPodChange {
    enum class Outcome {
        Done,
        NotABook,  // the folder to send holds no book Leafmill made
        NotOurs,  // the folder on the iPod is not Leafmill's, or holds files of others: left alone
        TooManyNotes,  // count: the notes the reader would not load
        NoRoom,  // count: the bytes the book needs beyond the free space
        NoVolumes,  // the book is not in volumes
        LastVolume,  // the book's last volume is on the iPod already
        Failed,  // reason: the system's
    };
    Outcome outcome = Outcome::Done;
    std::string book;  // the folder of Notes the change is about
    int64_t count = 0;  // Done: the files written or removed
    bool folderKept = false;  // Remove: the folder stays, holding files of others
    std::string reason;
};

// Copies the finished book in `bookFolder` (its first volume, for a book in
// volumes) into the Notes folder: only the files its record names. A book of
// that name Leafmill made there is replaced; nothing else is. The copy goes
// to a staging folder first and is renamed into place, so a copy cut short
// leaves no half book under the book's name. Refused when the reader would
// load no longer every note, or the disk has no room.
IPodChange sendBook(const std::filesystem::path& bookFolder, const std::filesystem::path& notes);

// Removes the files Leafmill wrote into the Notes folder's `name`, as its
// record names them; other files stay, and the folder with them.
IPodChange removeBook(const std::filesystem::path& notes, const std::string& name);

// For the book in volumes in `bookFolder`: puts the volume after the one on
// the iPod in its place (the first when none is there) and names it.
IPodChange sendNextVolume(const std::filesystem::path& bookFolder, const std::filesystem::path& notes);

}  // namespace leafmill
