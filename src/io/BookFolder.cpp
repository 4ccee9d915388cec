#include "io/BookFolder.h"

#include "io/BookRecord.h"
#include "io/FileAccess.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace leafmill {

namespace fs = std::filesystem;

namespace {

// Inside the book folder, so that putting a file in place is a rename on one
// file system; a dot keeps it out of the reader's menu while it exists.
constexpr std::string_view kStagingName = ".leafmill-new";
// What the record of a staging folder beside its book names, so that it is
// not taken for a finished book of that name: no book's record names it.
constexpr std::string_view kStagingMark = ".leafmill-new/";
constexpr std::string_view kUnchanged = "; nothing in the book folder was changed";

bool isRegularFile(const fs::path& path)
{
    std::error_code ec;
    return fs::symlink_status(path, ec).type() == fs::file_type::regular;
}

bool isTaken(const fs::path& path)
{
    std::error_code ec;
    return fs::symlink_status(path, ec).type() != fs::file_type::not_found && !ec;
}

bool isRealFolder(const fs::path& path)
{
    std::error_code ec;
    return fs::symlink_status(path, ec).type() == fs::file_type::directory;
}

// What an entry of a folder is, links not followed, from what listing the
// folder told where the system tells it: no look at the entry itself.
fs::file_type entryType(const fs::directory_entry& entry)
{
    std::error_code ec;
    if (entry.is_symlink(ec))
        return fs::file_type::symlink;
    if (entry.is_directory(ec))
        return fs::file_type::directory;
    return entry.is_regular_file(ec) ? fs::file_type::regular : fs::file_type::unknown;
}

}  // namespace

bool FolderListing::read(const fs::path& folder, std::error_code& ec)
{
    entries_.clear();
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::string name = pathToUtf8(entry.path().filename());
        std::string key = name;
        std::transform(key.begin(), key.end(), key.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
        const auto [at, fresh] = entries_.try_emplace(std::move(key), std::move(name), entryType(entry));
        if (!fresh)
            at->second.first.clear();  // two names of one key: only a look can tell which is meant
    }
    return !ec;
}

std::optional<fs::file_type> FolderListing::typeOf(std::string_view name) const
{
    std::string key(name);
    for (char& c : key) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return std::nullopt;
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    const auto hit = entries_.find(key);
    if (hit == entries_.end())
        return fs::file_type::not_found;
    if (hit->second.first != name)
        return std::nullopt;
    return hit->second.second;
}

namespace {

// The staging folder of a book whose folder does not exist yet: beside it,
// a dot keeping it out of the reader's menu.
fs::path besideStaging(const fs::path& folder)
{
    return folder.parent_path() / pathFromUtf8("." + pathToUtf8(folder.filename()) + std::string(kStagingName));
}

// A name of the record stands for a folder when it ends with '/'.
bool namesFolder(std::string_view name)
{
    return name.ends_with('/');
}

fs::path placeOf(const fs::path& folder, std::string_view name)
{
    return folder / pathFromUtf8(std::string(namesFolder(name) ? name.substr(0, name.size() - 1) : name));
}

// The earlier book's entry of that name is still what the record says it is.
bool isRecorded(const fs::path& folder, const std::string& name)
{
    return namesFolder(name) ? isRealFolder(placeOf(folder, name)) : isRegularFile(placeOf(folder, name));
}

// The names a staged folder holds besides its record, sorted, a folder's with
// a closing '/'. False with the reason when it cannot be read.
bool stagedNames(const fs::path& staged, std::vector<std::string>* names, std::string* error)
{
    names->clear();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(staged, ec)) {
        std::string name = pathToUtf8(entry.path().filename());
        if (name == kBookRecordName || name == kFolderLockName)
            continue;
        names->push_back(entryType(entry) == fs::file_type::directory ? name + "/" : name);
    }
    if (ec) {
        *error = pathToUtf8(staged) + ": " + ec.message();
        return false;
    }
    std::sort(names->begin(), names->end());
    return true;
}

// Writes the record of a staged folder naming what it holds.
bool recordStaged(const fs::path& staged, std::vector<std::string>* names, std::string* error)
{
    return stagedNames(staged, names, error) && writeBookRecord(staged, *names, error);
}

// Removes what the earlier book had under that name: a file, or the files a
// volume's own record names (the volume folder too once it is empty).
bool removeEarlier(const fs::path& folder, const std::string& name)
{
    const fs::path path = placeOf(folder, name);
    std::error_code ec;
    if (!namesFolder(name))
        return isRegularFile(path) && fs::remove(path, ec);
    const BookRecord record = readBookRecord(path);
    if (!record.ours)
        return false;
    for (const std::string& inner : record.names)
        if (!namesFolder(inner) && isRegularFile(path / pathFromUtf8(inner)))
            fs::remove(path / pathFromUtf8(inner), ec);
    fs::remove(path / pathFromUtf8(kBookRecordName), ec);
    return fs::remove(path, ec);
}

// A staging folder is ours when it holds our record; one beside its book
// folder, when the record holds the staging's mark too.
bool isOurStaging(const fs::path& staging, bool beside = false)
{
    std::error_code ec;
    if (fs::symlink_status(staging, ec).type() != fs::file_type::directory
        || !isRegularFile(staging / pathFromUtf8(kBookRecordName)))
        return false;
    const BookRecord record = readBookRecord(staging);
    return record.ours
        && (!beside || std::find(record.names.begin(), record.names.end(), kStagingMark) != record.names.end());
}

// Removes a staging folder that a run of this book beside its folder left
// when it ended abruptly; one that a run still holds stays.
void removeLeftoverBeside(const fs::path& folder)
{
    const fs::path staging = besideStaging(folder);
    if (!isTaken(staging))
        return;
    FolderLock leftover;
    std::string ignored;
    std::error_code ec;
    if (leftover.lock(staging, &ignored) == FolderLock::Result::Locked && isOurStaging(staging, true))
        fs::remove_all(staging, ec);
}

}  // namespace

BookFolder::~BookFolder()
{
    abandon();
}

BookFolder::Opening BookFolder::open(const fs::path& named, std::string* reason)
{
    // Without a closing separator, which would have a link in its place followed.
    const fs::path folder = named.has_filename() ? named : named.parent_path();
    folder_ = folder;
    if (!isTaken(folder))
        if (const auto opened = openBeside(reason))
            return *opened;
    std::error_code ec;
    created_ = fs::create_directory(folder, ec);
    if (ec) {
        *reason = ec.message();
        return Opening::Failed;
    }
    switch (lock_.lock(folder, reason)) {
    case FolderLock::Result::Busy:
        return Opening::Busy;
    case FolderLock::Result::Failed:
        return Opening::Failed;
    case FolderLock::Result::Locked:
        break;
    }
    const BookRecord record = readBookRecord(folder);
    if (!record.ours) {
        *reason = std::string(kBookRecordName) + " in it was not written by Leafmill";
        return Opening::Failed;
    }
    if (!atOpen_.read(folder, ec)) {
        *reason = pathToUtf8(folder) + ": " + ec.message();
        return Opening::Failed;
    }
    // The listing tells what most recorded names are without a look at each.
    for (const std::string& name : record.names) {
        const auto listed = atOpen_.typeOf(namesFolder(name) ? name.substr(0, name.size() - 1) : name);
        const fs::file_type recorded = namesFolder(name) ? fs::file_type::directory : fs::file_type::regular;
        if (listed ? *listed == recorded : isRecorded(folder, name))
            earlier_.insert(name);
    }
    removeLeftoverBeside(folder);
    staging_ = folder / pathFromUtf8(kStagingName);
    // Left by a run that ended abruptly: nothing in it was put in place.
    if (isTaken(staging_)) {
        if (!isOurStaging(staging_)) {
            *reason = std::string(kStagingName) + " in it was not made by Leafmill";
            return Opening::Failed;
        }
        fs::remove_all(staging_, ec);
    }
    done_ = false;
    if (!fs::create_directory(staging_, ec) || !writeBookRecord(staging_, {}, reason)) {
        if (ec)
            *reason = pathToUtf8(staging_) + ": " + ec.message();
        return Opening::Failed;
    }
    return Opening::Open;
}

std::optional<BookFolder::Opening> BookFolder::openBeside(std::string* reason)
{
    const fs::path staging = besideStaging(folder_);
    std::error_code ec;
    const bool made = fs::create_directory(staging, ec);
    if (ec)
        return std::nullopt;  // a name too long, say: the book folder's own staging may do
    std::string refused;
    const FolderLock::Result locked = lock_.lock(staging, &refused);
    if (locked != FolderLock::Result::Locked)
        return locked == FolderLock::Result::Busy ? std::optional(Opening::Busy) : std::nullopt;
    // Made just now, or left by a run that ended abruptly. The book folder
    // may have been put in place by another run meanwhile.
    if (!(made || isOurStaging(staging, true)) || isTaken(folder_)) {
        if (made)
            fs::remove_all(staging, ec);
        lock_.unlock();
        return std::nullopt;
    }
    for (const auto& entry : fs::directory_iterator(staging, ec))
        fs::remove_all(entry.path(), ec);
    staging_ = staging;
    beside_ = true;
    done_ = false;
    if (!writeBookRecord(staging_, {std::string(kStagingMark)}, reason))
        return Opening::Failed;
    return Opening::Open;
}

std::optional<fs::file_type> BookFolder::atOpen(std::string_view name) const
{
    if (beside_)
        return fs::file_type::not_found;
    return atOpen_.typeOf(name.substr(0, name.find_first_of("/\\")));
}

std::string BookFolder::blockedBy(const std::string& name) const
{
    std::error_code ec;
    const fs::file_status present = fs::symlink_status(placeOf(folder_, name), ec);
    return blockedBy(name, ec ? fs::file_type::not_found : present.type());
}

std::string BookFolder::blockedBy(const std::string& name, fs::file_type present) const
{
    const fs::file_type recorded = namesFolder(name) ? fs::file_type::directory : fs::file_type::regular;
    if (present == fs::file_type::not_found || (earlier_.contains(name) && present == recorded))
        return {};
    return pathToUtf8(placeOf(folder_, name)) + " was not written by Leafmill, which leaves it alone";
}

bool BookFolder::placeVolume(const std::string& name, std::string* error) const
{
    const fs::path from = placeOf(staging_, name), to = placeOf(folder_, name);
    std::vector<std::string> names;
    if (!recordStaged(from, &names, error))
        return false;
    std::error_code ec;
    if (!isTaken(to)) {
        fs::rename(from, to, ec);
    } else {
        // The earlier volume of that name: its files give way to the new ones.
        const BookRecord earlier = readBookRecord(to);
        for (const std::string& inner : earlier.names)
            if (!std::binary_search(names.begin(), names.end(), inner))
                removeEarlier(to, inner);
        for (const std::string& inner : names) {
            const fs::path target = placeOf(to, inner);
            const bool ours = std::find(earlier.names.begin(), earlier.names.end(), inner) != earlier.names.end();
            if (isTaken(target) && !(ours && isRegularFile(target))) {
                *error = pathToUtf8(target) + " was not written by Leafmill, which leaves it alone";
                return false;
            }
            fs::rename(placeOf(from, inner), target, ec);
            if (ec)
                break;
        }
        if (!ec)
            fs::rename(from / pathFromUtf8(kBookRecordName), to / pathFromUtf8(kBookRecordName), ec);
    }
    if (ec)
        *error = pathToUtf8(to) + ": " + ec.message();
    return !ec;
}

bool BookFolder::commitBeside(std::string* error)
{
    std::vector<std::string> names, inner;
    if (!stagedNames(staging_, &names, error))
        return false;
    for (const std::string& name : names)
        if (namesFolder(name) && !recordStaged(placeOf(staging_, name), &inner, error))
            return false;
    if (!writeBookRecord(staging_, names, error))
        return false;
#ifdef _WIN32
    // Windows renames no folder with a file open in it, as the lock's is.
    lock_.unlock();
#endif
    if (!renameToFreeName(staging_, folder_, error))
        return false;
    done_ = true;
    return true;
}

bool BookFolder::commit(std::string* error, int* removed)
{
    *removed = 0;
    if (beside_)
        return commitBeside(error);
    std::vector<std::string> names;
    if (!stagedNames(staging_, &names, error))
        return false;
    // One listing of the book folder tells what most names meet there.
    FolderListing present;
    if (std::error_code ec; !present.read(folder_, ec)) {
        *error = pathToUtf8(folder_) + ": " + ec.message() + std::string(kUnchanged);
        return false;
    }
    for (const std::string& name : names) {
        const auto meets = present.typeOf(namesFolder(name) ? name.substr(0, name.size() - 1) : name);
        if (std::string blocked = meets ? blockedBy(name, *meets) : blockedBy(name); !blocked.empty()) {
            *error = blocked + std::string(kUnchanged);
            return false;
        }
    }
    std::error_code ec;
    std::vector<std::string> both(earlier_.begin(), earlier_.end());
    both.insert(both.end(), names.begin(), names.end());
    if (!writeBookRecord(folder_, both, error)) {
        *error += kUnchanged;
        return false;
    }
    for (const std::string& name : names) {
        bool placed = true;
        if (namesFolder(name)) {
            placed = placeVolume(name, error);
        } else {
            fs::rename(staging_ / pathFromUtf8(name), folder_ / pathFromUtf8(name), ec);
            if (ec) {
                *error = pathToUtf8(folder_ / pathFromUtf8(name)) + ": " + ec.message();
                placed = false;
            }
        }
        if (!placed) {
            *error += "; the book folder holds pages of both books until a run ends well";
            return false;
        }
    }
    for (const std::string& name : earlier_)
        if (!std::binary_search(names.begin(), names.end(), name) && removeEarlier(folder_, name))
            ++*removed;
    if (!writeBookRecord(folder_, names, error))
        return false;
    fs::remove_all(staging_, ec);
    done_ = true;
    return true;
}

void BookFolder::abandon()
{
    if (done_)
        return;
    done_ = true;
    std::error_code ec;
    fs::remove_all(staging_, ec);
    lock_.unlock();
    if (created_ && fs::is_empty(folder_, ec))
        fs::remove(folder_, ec);
}

}  // namespace leafmill
