#include "io/MappedFile.h"

#include "io/InputFile.h"

#ifndef _WIN32
#include <sys/mman.h>
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

}  // namespace leafmill
