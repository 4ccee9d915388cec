#include "io/OutputFile.h"

#include "io/Descriptor.h"
#include "io/FileAccess.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace leafmill {

namespace {

#ifdef _WIN32
int openFile(const std::filesystem::path& path, OutputFile::Mode)
{
    const int flags = _O_WRONLY | _O_BINARY | _O_CREAT | _O_EXCL | _O_NOINHERIT;
    int fd = -1;
    _wsopen_s(&fd, path.c_str(), flags, _SH_DENYNO, _S_IREAD | _S_IWRITE);
    return fd;
}
int openExisting(const std::filesystem::path& path)
{
    int fd = -1;
    _wsopen_s(&fd, path.c_str(), _O_RDWR | _O_BINARY | _O_NOINHERIT, _SH_DENYNO, 0);
    return fd;
}
int truncateTo(int fd, std::uint64_t size)
{
    return _chsize_s(fd, static_cast<__int64>(size)) == 0 ? 0 : -1;
}
#else
int openFile(const std::filesystem::path& path, OutputFile::Mode mode)
{
    const mode_t permissions = mode == OutputFile::Mode::Exclusive ? 0600 : 0666;
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, permissions);
}
int openExisting(const std::filesystem::path& path)
{
    return ::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
}
int truncateTo(int fd, std::uint64_t size)
{
    return ::ftruncate(fd, static_cast<off_t>(size));
}
#endif

// Pages are a few KB: one read takes them, the next finds the end.
constexpr std::size_t kReadPiece = 8192;

bool readRest(int fd, std::string& bytes, std::string* error)
{
    for (std::uint64_t offset = 0;;) {
        const std::size_t had = bytes.size();
        bytes.resize(had + kReadPiece);
        const auto got = readAt(fd, bytes.data() + had, kReadPiece, offset);
        bytes.resize(had + static_cast<std::size_t>(std::max<decltype(got)>(got, 0)));
        offset += static_cast<std::uint64_t>(std::max<decltype(got)>(got, 0));
        if (got == 0)
            return true;
        if (got < 0 && errno != EINTR) {
            *error = systemReason(errno);
            return false;
        }
    }
}

bool writeAllAt(int fd, std::string_view bytes, std::string* error)
{
    std::uint64_t offset = 0;
    while (!bytes.empty()) {
        const auto written = writeAt(fd, bytes.data(), bytes.size(), offset);
        if (written < 0) {
            if (errno == EINTR)
                continue;
            *error = systemReason(errno);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
        offset += static_cast<std::uint64_t>(written);
    }
    return true;
}

}  // namespace

OutputFile::~OutputFile()
{
    if (fd_ >= 0)
        closeDescriptor(fd_);
}

bool OutputFile::open(const std::filesystem::path& path, Mode mode, std::string* error, bool* alreadyExists)
{
    if (fd_ >= 0)
        closeDescriptor(fd_);
    fd_ = openFile(path, mode);
    if (alreadyExists)
        *alreadyExists = fd_ < 0 && errno == EEXIST;
    if (fd_ < 0) {
        *error = systemReason(errno);
        return false;
    }
    return true;
}

bool OutputFile::write(std::string_view bytes, std::string* error)
{
    while (!bytes.empty()) {
        const auto written = writeSome(fd_, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            *error = systemReason(errno);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

bool OutputFile::close(std::string* error)
{
    const int fd = fd_;
    fd_ = -1;
    if (closeDescriptor(fd) != 0) {
        *error = systemReason(errno);
        return false;
    }
    return true;
}

bool frameFileInPlace(const std::filesystem::path& path, std::string_view head, std::string_view tail,
                      std::string& scratch, std::uintmax_t* size, std::string* error)
{
    const int fd = openExisting(path);
    if (fd < 0) {
        *error = systemReason(errno);
        return false;
    }
    scratch.assign(head);
    bool done = readRest(fd, scratch, error);
    const std::size_t bodySize = scratch.size() - head.size();
    if (done) {
        scratch.append(tail);
        done = writeAllAt(fd, scratch, error);
        if (!done) {
            // The new bytes start where the old ones did, so the old ones fit back.
            std::string ignored;
            truncateTo(fd, bodySize);
            writeAllAt(fd, std::string_view(scratch).substr(head.size(), bodySize), &ignored);
        }
    }
    if (closeDescriptor(fd) != 0 && done) {
        *error = systemReason(errno);
        done = false;
    }
    *size = done ? scratch.size() : bodySize;
    return done;
}

}  // namespace leafmill
