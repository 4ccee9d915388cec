#include "io/FolderLock.h"

#include "io/FileAccess.h"

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace leafmill {

FolderLock::~FolderLock()
{
    unlock();
}

#ifdef _WIN32

FolderLock::Result FolderLock::lock(const std::filesystem::path& folder, std::string* reason)
{
    unlock();
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0
        || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        *reason = "it is no folder of its own (a link, or missing)";
        return Result::Failed;
    }
    const std::filesystem::path file = folder / pathFromUtf8(kFolderLockName);
    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        *reason = "Windows error " + std::to_string(error);
        return error == ERROR_SHARING_VIOLATION ? Result::Busy : Result::Failed;
    }
    handle_ = handle;
    return Result::Locked;
}

void FolderLock::unlock()
{
    if (handle_)
        CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

#else

FolderLock::Result FolderLock::lock(const std::filesystem::path& folder, std::string* reason)
{
    unlock();
    // O_NOFOLLOW: a link put where the folder should be is not followed.
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        *reason = errno == ELOOP || errno == ENOTDIR ? "it is no folder of its own (a link, or a file)"
                                                     : systemReason(errno);
        return Result::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        *reason = systemReason(error);
        return error == EWOULDBLOCK ? Result::Busy : Result::Failed;
    }
    // The folder may have been removed or replaced between the opening and
    // the lock: the lock must hold the folder that has the name.
    struct stat held {
    }, named {};
    if (::fstat(fd, &held) != 0 || ::lstat(folder.c_str(), &named) != 0 || held.st_dev != named.st_dev
        || held.st_ino != named.st_ino) {
        ::close(fd);
        *reason = "the folder was replaced while it was being opened";
        return Result::Failed;
    }
    fd_ = fd;
    return Result::Locked;
}

void FolderLock::unlock()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

#endif

}  // namespace leafmill
