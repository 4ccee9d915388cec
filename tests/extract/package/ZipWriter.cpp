#include "ZipWriter.h"

#include "TestSupport.h"

#include <minizip/zip.h>

#include <stdexcept>

namespace leafmill::test {

namespace {

constexpr uLong kUtf8Names = 1 << 11;
constexpr int kMemoryLevel = 8;

}  // namespace

std::string makeZip(const ZipParts& parts)
{
    TempDir dir;
    const std::string file = (dir / "package.zip").string();
    zipFile archive = zipOpen64(file.c_str(), APPEND_STATUS_CREATE);
    if (!archive)
        throw std::runtime_error("cannot create " + file);
    for (const auto& [name, bytes] : parts) {
        const bool stored = name == "mimetype";
        const zip_fileinfo info {};
        if (zipOpenNewFileInZip4_64(archive, name.c_str(), &info, nullptr, 0, nullptr, 0, nullptr,
                                    stored ? 0 : Z_DEFLATED, stored ? 0 : Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS,
                                    kMemoryLevel, Z_DEFAULT_STRATEGY, nullptr, 0, 0, kUtf8Names, 0)
                != ZIP_OK
            || zipWriteInFileInZip(archive, bytes.data(), static_cast<unsigned>(bytes.size())) != ZIP_OK
            || zipCloseFileInZip(archive) != ZIP_OK)
            throw std::runtime_error("cannot add " + name);
    }
    if (zipClose(archive, nullptr) != ZIP_OK)
        throw std::runtime_error("cannot write " + file);
    return readFile(file);
}

}  // namespace leafmill::test
