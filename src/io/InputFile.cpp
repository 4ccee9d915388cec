#include "io/InputFile.h"

#include "io/Descriptor.h"
#include "io/FileAccess.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#endif

namespace leafmill {

namespace {

#ifdef _WIN32
int openForReading(const std::filesystem::path& path, std::string* error, bool* missing)
{
    // Opening a folder fails here for another reason than it is.
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) {
        *missing = true;
        *error = systemReason(ENOENT);
        return -1;
    }
    if (ec) {
        *error = ec.message();
        return -1;
    }
    if (!std::filesystem::is_regular_file(status)) {
        *error = "it is not a file";
        return -1;
    }
    int fd = -1;
    _wsopen_s(&fd, path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0);
    if (fd < 0)
        *error = systemReason(errno);
    return fd;
}
#else
int openForReading(const std::filesystem::path& path, std::string* error, bool* missing)
{
    // Without waiting: opening a pipe for reading would wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        *missing = errno == ENOENT;
        *error = systemReason(errno);
        return -1;
    }
    struct stat status { };
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        closeDescriptor(fd);
        *error = "it is not a file";
        return -1;
    }
    return fd;
}
#endif

}  // namespace

InputFile::~InputFile()
{
    if (fd_ >= 0)
        closeDescriptor(fd_);
}

bool InputFile::open(const std::filesystem::path& path, std::string* error, bool* missing)
{
    if (fd_ >= 0)
        closeDescriptor(fd_);
    offset_ = 0;
    bool ignored = false;
    fd_ = openForReading(path, error, missing ? missing : &ignored);
    return fd_ >= 0;
}

bool InputFile::fill(char* data, std::size_t capacity, std::size_t* filled, std::string* error)
{
    *filled = 0;
    while (*filled < capacity) {
        const auto got = readAt(fd_, data + *filled, capacity - *filled, offset_);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            *error = systemReason(errno);
            return false;
        }
        *filled += static_cast<std::size_t>(got);
        offset_ += static_cast<std::uint64_t>(got);
    }
    return true;
}

bool InputFile::read(std::string& block, std::size_t capacity, std::string* error)
{
    block.resize(capacity);
    std::size_t filled = 0;
    const bool ok = fill(block.data(), capacity, &filled, error);
    block.resize(filled);
    return ok;
}

bool InputFile::readAll(std::string& bytes, std::string* error)
{
    // Read in place, into room for the whole file and a byte more that tells
    // a file that grew meanwhile: a block apart would touch a megabyte for a
    // settings file of a few kilobytes, and kept back by the allocator, would
    // stay with the process and every reader it forks.
    std::string content(static_cast<std::size_t>(state().size) + 1, '\0');
    rewind();
    std::size_t filled = 0;
    for (;;) {
        std::size_t got = 0;
        if (!fill(content.data() + filled, content.size() - filled, &got, error))
            return false;
        filled += got;
        if (filled < content.size())
            break;
        content.resize(content.size() * 2);
    }
    content.resize(filled);
    bytes = std::move(content);
    return true;
}

FileState InputFile::state() const
{
    FileState state;
#ifdef _WIN32
    struct _stat64 status { };
    if (_fstat64(fd_, &status) == 0) {
        state.size = static_cast<std::uint64_t>(status.st_size);
        state.changed = static_cast<std::int64_t>(status.st_mtime);
    }
    BY_HANDLE_FILE_INFORMATION info {};
    if (GetFileInformationByHandle(reinterpret_cast<HANDLE>(_get_osfhandle(fd_)), &info)) {
        state.identity
            = {info.dwVolumeSerialNumber, (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
        state.changed = (static_cast<std::int64_t>(info.ftLastWriteTime.dwHighDateTime) << 32)
            | info.ftLastWriteTime.dwLowDateTime;
    }
#else
    struct stat status { };
    if (::fstat(fd_, &status) == 0) {
        state.identity = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
        state.size = static_cast<std::uint64_t>(status.st_size);
        state.changed = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    }
#endif
    return state;
}

}  // namespace leafmill
