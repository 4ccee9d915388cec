#include "extract/rtf/ReadBehind.h"

#include <cstdint>

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace leafmill::extract::rtf {

void ReadBehind::release(std::size_t position)
{
#if defined(__linux__) && defined(MADV_PAGEOUT)
    // Whole pages only: the one `position` is in may still be read.
    static const auto pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    const auto base = reinterpret_cast<std::uintptr_t>(bytes_.data());
    const std::uintptr_t from = (base + released_ + pageSize - 1) / pageSize * pageSize;
    const std::uintptr_t to = (base + position) / pageSize * pageSize;
    // MADV_PAGEOUT, unlike MADV_DONTNEED, keeps the contents of anonymous
    // memory too (a document read from standard input).
    if (to > from)
        ::madvise(reinterpret_cast<void*>(from), to - from, MADV_PAGEOUT);
#endif
    released_ = position;
}

}  // namespace leafmill::extract::rtf
