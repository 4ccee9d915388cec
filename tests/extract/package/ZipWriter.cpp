#include "ZipWriter.h"

#include "TestSupport.h"

#include <zip.h>

#include <stdexcept>

namespace leafmill::test {

std::string makeZip(const ZipParts& parts)
{
    TempDir dir;
    const std::string file = (dir / "package.zip").string();
    int error = 0;
    zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        throw std::runtime_error("cannot create " + file);
    for (const auto& [name, bytes] : parts) {
        zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0)
            throw std::runtime_error("cannot add " + name);
        if (name == "mimetype")
            zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    if (zip_close(archive) != 0)
        throw std::runtime_error("cannot write " + file);
    return readFile(file);
}

}  // namespace leafmill::test
