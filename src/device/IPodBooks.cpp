#include "device/IPodBooks.h"

#include "io/BookRecord.h"
#include "io/FileAccess.h"
#include "targets/notes/NotesFolder.h"
#include "targets/notes/ReaderLimits.h"

#include <algorithm>
#include <system_error>

namespace leafmill {

namespace fs = std::filesystem;

namespace {

// Beside the books, so that putting a copy in place is a rename on one file
// system. A copy cut short is left there, under no book's name, and goes at
// the next send.
constexpr std::string_view kSendingName = ".leafmill-sending";
constexpr std::string_view kReplacedName = ".leafmill-replaced";

// What is at the path itself, a link not followed.
fs::file_type typeAt(const fs::path& path)
{
    std::error_code ec;
    return fs::symlink_status(path, ec).type();
}

bool isRegularFile(const fs::path& path)
{
    return typeAt(path) == fs::file_type::regular;
}

bool isTaken(const fs::path& path)
{
    return typeAt(path) != fs::file_type::not_found;
}

// A real folder holding a record Leafmill wrote.
bool madeByLeafmill(const fs::path& folder)
{
    return typeAt(folder) == fs::file_type::directory && isRegularFile(folder / pathFromUtf8(kBookRecordName))
        && readBookRecord(folder).ours;
}

std::string folderName(std::string name)
{
    if (name.ends_with('/'))
        name.pop_back();
    return name;
}

// The folder holds something its record does not name.
bool holdsOthers(const fs::path& folder)
{
    const BookRecord record = readBookRecord(folder);
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::string name = pathToUtf8(entry.path().filename());
        if (name == kBookRecordName)
            continue;
        if (std::error_code kind; entry.is_directory(kind) && !entry.is_symlink(kind))
            name += '/';
        if (std::find(record.names.begin(), record.names.end(), name) == record.names.end())
            return true;
    }
    return static_cast<bool>(ec);
}

// Removes the files the folder's record names (its volumes' too), then the
// record, then the folder when nothing else is in it. Gives the files removed.
int64_t removeRecorded(const fs::path& folder)
{
    int64_t removed = 0;
    std::error_code ec;
    for (const std::string& name : readBookRecord(folder).names) {
        const fs::path path = folder / pathFromUtf8(folderName(name));
        if (name.ends_with('/') && madeByLeafmill(path))
            removed += removeRecorded(path);
        else if (!name.ends_with('/') && isRegularFile(path) && fs::remove(path, ec))
            ++removed;
    }
    fs::remove(folder / pathFromUtf8(kBookRecordName), ec);
    fs::remove(folder, ec);  // fails, as it should, while others' files are in it
    return removed;
}

int64_t notesBelow(const fs::path& folder)
{
    return isTaken(folder) ? static_cast<int64_t>(notesInLoadOrder(folder).size()) : 0;
}

IPodChange failed(IPodChange change, const std::string& reason)
{
    change.outcome = IPodChange::Outcome::Failed;
    change.reason = reason;
    return change;
}

// A folder of ours under that name in Notes, left by a send cut short, goes.
bool clearLeftover(const fs::path& folder, std::string* reason)
{
    if (!isTaken(folder))
        return true;
    // Its record names every file put in it; anything else stays, and the folder with it.
    if (madeByLeafmill(folder))
        removeRecorded(folder);
    if (isTaken(folder)) {
        *reason = pathToUtf8(folder) + " was not made by Leafmill, which leaves it alone";
        return false;
    }
    return true;
}

// Copies the files the record of `unit` names into the staging folder, the
// record first so that a copy cut short is known as ours. Gives the bytes.
bool stageCopy(const fs::path& unit, const std::vector<std::string>& files, const fs::path& staging,
               std::string* reason)
{
    std::error_code ec;
    if (!fs::create_directory(staging, ec) || !writeBookRecord(staging, files, reason)) {
        if (ec)
            *reason = pathToUtf8(staging) + ": " + ec.message();
        return false;
    }
    for (const std::string& file : files) {
        fs::copy_file(unit / pathFromUtf8(file), staging / pathFromUtf8(file), ec);
        if (ec) {
            *reason = pathToUtf8(staging / pathFromUtf8(file)) + ": " + ec.message();
            fs::remove_all(staging, ec);
            return false;
        }
    }
    return true;
}

// Puts the book (or volume) in `unit` into Notes under its own name, in
// place of `leaving` (a volume before it) when that is given.
IPodChange placeBook(const fs::path& unit, const fs::path& notes, const std::string& leaving)
{
    IPodChange change;
    change.book = pathToUtf8(unit.filename());
    if (!madeByLeafmill(unit)) {
        change.outcome = IPodChange::Outcome::NotABook;
        return change;
    }
    std::vector<std::string> files;
    std::uintmax_t bytes = 0;
    for (const std::string& name : readBookRecord(unit).names)
        if (!name.ends_with('/') && isRegularFile(unit / pathFromUtf8(name))) {
            std::error_code ec;
            files.push_back(name);
            bytes += fs::file_size(unit / pathFromUtf8(name), ec);
        }
    const fs::path target = notes / unit.filename();
    if (isTaken(target) && (!madeByLeafmill(target) || holdsOthers(target))) {
        change.outcome = IPodChange::Outcome::NotOurs;
        return change;
    }
    const fs::path staging = notes / pathFromUtf8(kSendingName);
    const fs::path replaced = notes / pathFromUtf8(kReplacedName);
    std::string reason;
    if (!clearLeftover(staging, &reason) || !clearLeftover(replaced, &reason))
        return failed(change, reason);
    const fs::path left = leaving.empty() ? fs::path() : notes / pathFromUtf8(leaving);
    const int64_t after = notesBelow(notes) - notesBelow(target) - (left.empty() ? 0 : notesBelow(left))
        + static_cast<int64_t>(files.size()) + 1;
    if (after > kReaderNoteLimit) {
        change.outcome = IPodChange::Outcome::TooManyNotes;
        change.count = after - kReaderNoteLimit;
        return change;
    }
    std::error_code ec;
    const fs::space_info space = fs::space(notes, ec);
    if (!ec && bytes > space.available) {
        change.outcome = IPodChange::Outcome::NoRoom;
        change.count = static_cast<int64_t>(bytes - space.available);
        return change;
    }
    if (!stageCopy(unit, files, staging, &reason))
        return failed(change, reason);
    if (isTaken(target)) {
        fs::rename(target, replaced, ec);
        if (ec) {
            fs::remove_all(staging, ec);
            return failed(change, pathToUtf8(target) + ": " + ec.message());
        }
    }
    fs::rename(staging, target, ec);
    if (ec) {
        const std::string error = pathToUtf8(target) + ": " + ec.message();
        std::error_code back;
        if (isTaken(replaced))
            fs::rename(replaced, target, back);
        return failed(change, error);
    }
    if (isTaken(replaced))
        removeRecorded(replaced);
    if (!left.empty() && madeByLeafmill(left))
        removeRecorded(left);
    change.count = static_cast<int64_t>(files.size());
    return change;
}

bool isPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string::npos;
}

// The volume folders the book's record names, in their order.
std::vector<std::string> volumesOf(const fs::path& bookFolder)
{
    std::vector<std::string> volumes;
    for (const std::string& name : readBookRecord(bookFolder).names)
        if (name.ends_with('/'))
            volumes.push_back(folderName(name));
    return volumes;
}

// The folder without a closing separator, whose name is then its last part.
fs::path withoutSeparator(const fs::path& folder)
{
    return folder.has_filename() ? folder : folder.parent_path();
}

}  // namespace

std::vector<BookOnIPod> booksOnIPod(const fs::path& notes)
{
    std::vector<BookOnIPod> books;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(notes, ec)) {
        std::error_code kind;
        if (entry.is_directory(kind) && !entry.is_symlink(kind))
            books.push_back(
                {pathToUtf8(entry.path().filename()), notesBelow(entry.path()), madeByLeafmill(entry.path())});
    }
    std::sort(books.begin(), books.end(),
              [](const BookOnIPod& a, const BookOnIPod& b) { return readerNameLess(a.name, b.name); });
    return books;
}

IPodChange sendBook(const fs::path& named, const fs::path& notes)
{
    const fs::path bookFolder = withoutSeparator(named);
    const std::vector<std::string> volumes = volumesOf(bookFolder);
    return placeBook(volumes.empty() ? bookFolder : bookFolder / pathFromUtf8(volumes.front()), notes, {});
}

IPodChange removeBook(const fs::path& notes, const std::string& name)
{
    IPodChange change;
    change.book = name;
    const fs::path folder = notes / pathFromUtf8(name);
    if (!isPlainName(name) || !madeByLeafmill(folder)) {
        change.outcome = IPodChange::Outcome::NotOurs;
        return change;
    }
    change.count = removeRecorded(folder);
    change.folderKept = isTaken(folder);
    return change;
}

IPodChange sendNextVolume(const fs::path& named, const fs::path& notes)
{
    const fs::path bookFolder = withoutSeparator(named);
    IPodChange change;
    change.book = pathToUtf8(bookFolder.filename());
    if (!madeByLeafmill(bookFolder)) {
        change.outcome = IPodChange::Outcome::NotABook;
        return change;
    }
    const std::vector<std::string> volumes = volumesOf(bookFolder);
    if (volumes.empty()) {
        change.outcome = IPodChange::Outcome::NoVolumes;
        return change;
    }
    const auto there = std::find_if(volumes.begin(), volumes.end(), [&notes](const std::string& volume) {
        return madeByLeafmill(notes / pathFromUtf8(volume));
    });
    if (there == volumes.end())
        return placeBook(bookFolder / pathFromUtf8(volumes.front()), notes, {});
    if (there + 1 == volumes.end()) {
        change.outcome = IPodChange::Outcome::LastVolume;
        change.book = *there;
        return change;
    }
    return placeBook(bookFolder / pathFromUtf8(*(there + 1)), notes, *there);
}

}  // namespace leafmill
