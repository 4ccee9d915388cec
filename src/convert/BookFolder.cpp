#include "convert/BookFolder.h"

#include "convert/BookRecord.h"
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

// A staging folder is ours when it holds our record.
bool isOurStaging(const fs::path& staging)
{
    std::error_code ec;
    return fs::symlink_status(staging, ec).type() == fs::file_type::directory
        && isRegularFile(staging / pathFromUtf8(kBookRecordName)) && readBookRecord(staging).ours;
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
    for (const std::string& name : record.names)
        if (isRegularFile(folder / pathFromUtf8(name)))
            earlier_.insert(name);
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

std::string BookFolder::blockedBy(const std::string& name) const
{
    const fs::path path = folder_ / pathFromUtf8(name);
    if (!isTaken(path) || (earlier_.contains(name) && isRegularFile(path)))
        return {};
    return pathToUtf8(path) + " was not written by Leafmill, which leaves it alone";
}

bool BookFolder::commit(std::string* error, int* removed)
{
    *removed = 0;
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(staging_, ec)) {
        const std::string name = pathToUtf8(entry.path().filename());
        if (name == kBookRecordName)
            continue;
        if (std::string blocked = blockedBy(name); !blocked.empty()) {
            *error = blocked + std::string(kUnchanged);
            return false;
        }
        names.push_back(name);
    }
    if (ec) {
        *error = pathToUtf8(staging_) + ": " + ec.message();
        return false;
    }
    std::sort(names.begin(), names.end());
    std::vector<std::string> both(earlier_.begin(), earlier_.end());
    both.insert(both.end(), names.begin(), names.end());
    if (!writeBookRecord(folder_, both, error)) {
        *error += kUnchanged;
        return false;
    }
    for (const std::string& name : names) {
        fs::rename(staging_ / pathFromUtf8(name), folder_ / pathFromUtf8(name), ec);
        if (ec) {
            *error = pathToUtf8(folder_ / pathFromUtf8(name)) + ": " + ec.message()
                + "; the book folder holds pages of both books until a run ends well";
            return false;
        }
    }
    for (const std::string& name : earlier_) {
        const fs::path path = folder_ / pathFromUtf8(name);
        if (!std::binary_search(names.begin(), names.end(), name) && isRegularFile(path) && fs::remove(path, ec))
            ++*removed;
    }
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
