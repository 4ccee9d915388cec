#include "io/MappedFile.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace leafmill {

namespace {

#ifndef _WIN32
// The file mapped read-only, or null (too small to map, or any failure: the
// caller then reads it the ordinary way, which gives the reason).
void* mapped(const std::filesystem::path& file, std::size_t* size)
{
    // Only a regular file is opened: opening a pipe or a device may wait or
    // act, and no-blocking covers one swapped in after the look.
    struct stat status { };
    if (::stat(file.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return nullptr;
    const int descriptor = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return nullptr;
    void* mapping = nullptr;
    if (::fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        *size = static_cast<std::size_t>(status.st_size);
        mapping = ::mmap(nullptr, *size, PROT_READ, MAP_PRIVATE, descriptor, 0);
        if (mapping == MAP_FAILED)
            mapping = nullptr;
    }
    ::close(descriptor);
    return mapping;
}
#endif

}  // namespace

MappedFile::~MappedFile()
{
#ifndef _WIN32
    if (mapping_)
        ::munmap(mapping_, mappedSize_);
#endif
}

ReadResult MappedFile::open(const std::filesystem::path& file, std::string* reason)
{
#ifndef _WIN32
    if (void* mapping = mapped(file, &mappedSize_)) {
        mapping_ = mapping;
        view_ = std::string_view(static_cast<const char*>(mapping), mappedSize_);
        return ReadResult::Ok;
    }
#endif
    const ReadResult result = readWholeFile(file, read_, reason);
    view_ = read_;
    return result;
}

}  // namespace leafmill
