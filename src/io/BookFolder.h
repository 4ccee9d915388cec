#pragma once

#include "io/FolderLock.h"

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace leafmill {

// A folder's entries as one listing told them, links not followed. Names a
// file system may take for one another (letters in another case, names
// beyond ASCII) are left to a look at the entry itself.
class FolderListing {
public:
    bool read(const std::filesystem::path& folder, std::error_code& ec);
    // What the entry of that name is (not_found when there is none); nothing
    // when only a look at it can tell.
    std::optional<std::filesystem::file_type> typeOf(std::string_view name) const;

private:
    std::map<std::string, std::pair<std::string, std::filesystem::file_type>> entries_;  // by ASCII lower case
};

// The folder one book is written into, so that the book in it is replaced
// whole or not at all. A run locks the folder, writes its files into a fresh
// staging folder inside it, and only then puts them in place of the files
// the earlier run wrote (the book record names those). A book folder that does
// not exist yet is staged beside it and renamed into place whole, which costs
// one rename instead of one a page (each a directory write on an iPod's FAT
// disk). Files Leafmill did not write are never replaced or removed, and no
// link is followed.
class BookFolder {
public:
    enum class Opening {
        Open,
        Busy,  // another run is writing this book
        Failed,  // `reason` says why
    };

    BookFolder() = default;
    // Removes the staging folder when nothing was put in place, then lets go
    // of the lock.
    ~BookFolder();
    BookFolder(const BookFolder&) = delete;
    BookFolder& operator=(const BookFolder&) = delete;

    // Creates the folder when it is missing, locks it, removes what a run that
    // ended abruptly left in it, and makes the staging folder.
    Opening open(const std::filesystem::path& folder, std::string* reason);

    // The staging folder: every file of the run goes there.
    const std::filesystem::path& staging() const { return staging_; }
    // Whether the earlier run left a book here that a failed run must keep.
    bool holdsEarlierBook() const { return !earlier_.empty(); }

    // Why a file of that name could not take its place in the folder: a file
    // (or a link, or a folder) there that Leafmill did not write. Empty when
    // the name is free or the earlier book's.
    std::string blockedBy(const std::string& name) const;
    // The same for what stands there, as a look already told.
    std::string blockedBy(const std::string& name, std::filesystem::file_type present) const;
    // What stood at that name (a page's, or its volume folder's) when the
    // folder was opened; nothing when only a look can tell. A place taken
    // meanwhile is found by commit.
    std::optional<std::filesystem::file_type> atOpen(std::string_view name) const;

    // Puts the staging folder's files in place: each replaces the earlier
    // book's file of its name, then the earlier book's other files go. The
    // record lists both books while this goes on, so that a run that ends
    // abruptly in the middle leaves nothing unknown behind. False with the
    // reason (the earlier book then stays as it was, unless the system failed
    // half-way); `removed` counts the earlier book's files that went.
    bool commit(std::string* error, int* removed);

    // Gives up the staging folder; the book folder goes too when this run
    // made it and nothing else is in it.
    void abandon();

private:
    // Stages a book whose folder does not exist yet beside it; nothing when
    // the run is to stage inside the folder instead.
    std::optional<Opening> openBeside(std::string* reason);
    // Puts the staging folder in place of the missing book folder.
    bool commitBeside(std::string* error);
    // Puts a staged volume folder in place, in place of the earlier volume of
    // its name (each volume keeps a record of its own).
    bool placeVolume(const std::string& name, std::string* error) const;

    std::filesystem::path folder_;
    std::filesystem::path staging_;
    std::set<std::string> earlier_;  // the earlier book's files, as its record names them
    FolderListing atOpen_;
    FolderLock lock_;
    bool created_ = false;
    bool beside_ = false;  // staged beside the book folder
    bool done_ = true;
};

}  // namespace leafmill
