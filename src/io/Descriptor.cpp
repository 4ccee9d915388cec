#include "io/Descriptor.h"

#include <algorithm>

#ifdef _WIN32
#include <io.h>
#include <stdio.h>
#else
#include <unistd.h>
#endif

namespace leafmill {

#ifdef _WIN32

namespace {

// The system reads and writes at most this much at once.
unsigned piece(std::size_t size)
{
    return static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30));
}

}  // namespace

long long readAt(int fd, char* data, std::size_t size, std::uint64_t offset)
{
    if (_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0)
        return -1;
    return _read(fd, data, piece(size));
}
long long writeSome(int fd, const char* data, std::size_t size)
{
    return _write(fd, data, piece(size));
}
long long writeAt(int fd, const char* data, std::size_t size, std::uint64_t offset)
{
    if (_lseeki64(fd, static_cast<__int64>(offset), SEEK_SET) < 0)
        return -1;
    return writeSome(fd, data, size);
}
int closeDescriptor(int fd)
{
    return _close(fd);
}

#else

long long readAt(int fd, char* data, std::size_t size, std::uint64_t offset)
{
    return ::pread(fd, data, size, static_cast<off_t>(offset));
}
long long writeSome(int fd, const char* data, std::size_t size)
{
    return ::write(fd, data, size);
}
long long writeAt(int fd, const char* data, std::size_t size, std::uint64_t offset)
{
    return ::pwrite(fd, data, size, static_cast<off_t>(offset));
}
int closeDescriptor(int fd)
{
    return ::close(fd);
}

#endif

}  // namespace leafmill
