#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace leafmill {

// Where the system gives no lock on a folder itself (Windows), a file of
// this name inside it is held instead; it is no file of the book.
inline constexpr std::string_view kFolderLockName = ".leafmill-lock";

// A folder held by one process at a time. The system lets go of it when the
// process ends, however it ends, so a crash never leaves it locked.
class FolderLock {
public:
    enum class Result {
        Locked,
        Busy,  // another process holds it
        Failed,  // no folder of its own there (a link counts as none), or the system refused
    };

    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Locks the folder at the path; `reason` says why not.
    Result lock(const std::filesystem::path& folder, std::string* reason);
    void unlock();

private:
#ifdef _WIN32
    void* handle_ = nullptr;  // the lock file, open for no one else and gone when closed
#else
    int fd_ = -1;
#endif
};

}  // namespace leafmill
