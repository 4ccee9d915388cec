#include "PackageInput.h"

#include "FuzzSupport.h"

#include <minizip/zip.h>

#include <algorithm>
#include <vector>

namespace leafmill::fuzz {

namespace {

// The zip writer's file, in memory: it writes on and seeks back to fill in
// each part's sizes.
struct MemoryFile {
    std::string bytes;
    std::size_t position = 0;
};

voidpf openMemory(voidpf opaque, const void*, int)
{
    return opaque;
}

uLong readNothing(voidpf, voidpf, void*, uLong)
{
    return 0;
}

uLong writeMemory(voidpf, voidpf stream, const void* buffer, uLong size)
{
    auto& file = *static_cast<MemoryFile*>(stream);
    if (file.bytes.size() < file.position + size)
        file.bytes.resize(file.position + size);
    std::copy_n(static_cast<const char*>(buffer), size, file.bytes.data() + file.position);
    file.position += size;
    return size;
}

ZPOS64_T tellMemory(voidpf, voidpf stream)
{
    return static_cast<MemoryFile*>(stream)->position;
}

long seekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto& file = *static_cast<MemoryFile*>(stream);
    const std::size_t base = origin == ZLIB_FILEFUNC_SEEK_CUR ? file.position
        : origin == ZLIB_FILEFUNC_SEEK_END                    ? file.bytes.size()
                                                              : 0;
    file.position = base + static_cast<std::size_t>(offset);
    return 0;
}

int closeMemory(voidpf, voidpf)
{
    return 0;
}
int noError(voidpf, voidpf)
{
    return 0;
}

}  // namespace

std::string packageFromInput(std::string_view input, std::initializer_list<const char*> partNames)
{
    if (input.substr(0, 2) == "PK")
        return std::string(input);
    std::vector<std::string_view> parts;
    for (std::size_t k = 0; k + 1 < partNames.size(); ++k) {
        const std::size_t cut = input.find('\1');
        if (cut == std::string_view::npos)
            break;
        parts.push_back(input.substr(0, cut));
        input.remove_prefix(cut + 1);
    }
    parts.push_back(input);

    MemoryFile file;
    zlib_filefunc64_def functions {&openMemory, &readNothing, &writeMemory, &tellMemory,
                                   &seekMemory, &closeMemory, &noError,     &file};
    zipFile archive = zipOpen2_64(&file, APPEND_STATUS_CREATE, nullptr, &functions);
    check(archive != nullptr, "cannot open a zip buffer");
    const char* const* name = partNames.begin();
    for (std::string_view part : parts) {
        const zip_fileinfo info {};
        check(zipOpenNewFileInZip64(archive, *name++, &info, nullptr, 0, nullptr, 0, nullptr, 0, 0, 0) == ZIP_OK
                  && zipWriteInFileInZip(archive, part.data(), static_cast<unsigned>(part.size())) == ZIP_OK
                  && zipCloseFileInZip(archive) == ZIP_OK,
              "cannot add a part");
    }
    check(zipClose(archive, nullptr) == ZIP_OK, "cannot write the zip buffer");
    return std::move(file.bytes);
}

}  // namespace leafmill::fuzz
