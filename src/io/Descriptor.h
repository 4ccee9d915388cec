#pragma once

#include <cstddef>
#include <cstdint>

namespace leafmill {

// The system's calls on an open file's descriptor, alike on every platform:
// each returns what it did (bytes, or 0) or a negative number with errno set.
long long readAt(int fd, char* data, std::size_t size, std::uint64_t offset);
long long writeSome(int fd, const char* data, std::size_t size);
long long writeAt(int fd, const char* data, std::size_t size, std::uint64_t offset);
int closeDescriptor(int fd);

}  // namespace leafmill
