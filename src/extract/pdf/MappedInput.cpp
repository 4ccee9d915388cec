#include "extract/pdf/MappedInput.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>

#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <string>
#endif

namespace leafmill::extract::pdf {

namespace {

// Pages read between two releases: a few megabytes of a long document.
constexpr unsigned kReleaseEvery = 64;

#if defined(__linux__)
// Whether [begin, end) lies in one private, read-only mapping of a file: the
// only memory whose pages can be dropped and read again unchanged.
bool inReadOnlyFileMapping(std::uintptr_t begin, std::uintptr_t end)
{
    std::ifstream maps("/proc/self/maps");
    std::string line;
    while (std::getline(maps, line)) {
        std::uintptr_t from = 0, to = 0;
        char permissions[5] = {};
        unsigned long long inode = 0;
        if (std::sscanf(line.c_str(), "%" SCNxPTR "-%" SCNxPTR " %4s %*s %*s %llu", &from, &to, permissions, &inode)
            != 4)
            continue;
        if (from <= begin && end <= to)
            return std::string_view(permissions) == "r--p" && inode != 0;
    }
    return false;
}
#endif

}  // namespace

MappedInput::MappedInput(std::string_view bytes)
{
#if defined(__linux__)
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(bytes.data());
    const std::uintptr_t end = begin + bytes.size();
    const std::uintptr_t first = (begin + page - 1) / page * page;
    const std::uintptr_t last = end / page * page;
    if (last > first && inReadOnlyFileMapping(begin, end)) {
        begin_ = reinterpret_cast<char*>(first);
        size_ = last - first;
    }
#else
    (void)bytes;
#endif
}

void MappedInput::pageRead()
{
    if (size_ > 0 && ++pagesRead_ % kReleaseEvery == 0)
        release();
}

void MappedInput::release() const
{
#if defined(__linux__)
    if (size_ > 0)
        ::madvise(begin_, size_, MADV_DONTNEED);
#endif
}

}  // namespace leafmill::extract::pdf
