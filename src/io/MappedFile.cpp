#include "io/MappedFile.h"

#include "io/InputFile.h"

#include <algorithm>
#include <cstdint>

#ifndef _WIN32
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace leafmill {

MappedFile::~MappedFile()
{
#ifndef _WIN32
    if (mapping_)
        ::munmap(mapping_, mappedSize_);
#endif
}

bool MappedFile::open(InputFile& file, std::string* reason)
{
#ifndef _WIN32
    // An empty file cannot be mapped, and any failure leaves the ordinary
    // read to give the reason.
    const std::uint64_t size = file.state().size;
    if (size > 0) {
        void* mapping = ::mmap(nullptr, static_cast<std::size_t>(size), PROT_READ, MAP_PRIVATE, file.descriptor(), 0);
        if (mapping != MAP_FAILED) {
            mapping_ = mapping;
            mappedSize_ = static_cast<std::size_t>(size);
            view_ = std::string_view(static_cast<const char*>(mapping), mappedSize_);
            return true;
        }
    }
#endif
    const bool read = file.readAll(read_, reason);
    view_ = read_;
    return read;
}

void MappedFile::release(std::string_view range) const
{
#ifndef _WIN32
    // Pages of a private mapping never written are only the file's: dropped,
    // they are read again from it when touched. The pages the range only
    // partly covers go too, and those up to 2 MB before it: the system maps
    // a fault's neighbours with it, behind as well as ahead.
    constexpr std::uintptr_t kBehind = std::uintptr_t {2} << 20;
    if (!mapping_ || range.empty())
        return;
    const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto base = reinterpret_cast<std::uintptr_t>(mapping_);
    const auto start = reinterpret_cast<std::uintptr_t>(range.data());
    // Bytes of any other memory are no pages of the file's to drop.
    if (start < base || start >= base + mappedSize_)
        return;
    const auto end = std::min(start + range.size(), base + mappedSize_);
    const std::uintptr_t first = (start - std::min(start - base, kBehind)) / page * page;
    ::madvise(reinterpret_cast<void*>(first), end - first, MADV_DONTNEED);
#else
    (void)range;
#endif
}

}  // namespace leafmill
