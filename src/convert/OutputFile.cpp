#include "convert/OutputFile.h"

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
int writeSome(int fd, const char* data, std::size_t size)
{
    return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
}
int closeFile(int fd)
{
    return _close(fd);
}
#else
int openFile(const std::filesystem::path& path, OutputFile::Mode mode)
{
    const mode_t permissions = mode == OutputFile::Mode::Exclusive ? 0600 : 0666;
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, permissions);
}
ssize_t writeSome(int fd, const char* data, std::size_t size)
{
    return ::write(fd, data, size);
}
int closeFile(int fd)
{
    return ::close(fd);
}
#endif

}  // namespace

OutputFile::~OutputFile()
{
    if (fd_ >= 0)
        closeFile(fd_);
}

bool OutputFile::open(const std::filesystem::path& path, Mode mode, std::string* error, bool* alreadyExists)
{
    if (fd_ >= 0)
        closeFile(fd_);
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
    if (closeFile(fd) != 0) {
        *error = systemReason(errno);
        return false;
    }
    return true;
}

}  // namespace leafmill
