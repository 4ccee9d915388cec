#include "PackageInput.h"

#include "FuzzSupport.h"

#include <zip.h>

#include <vector>

namespace leafmill::fuzz {

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

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    check(buffer != nullptr, "cannot make a zip buffer");
    zip_source_keep(buffer);
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    check(archive != nullptr, "cannot open a zip buffer");
    const char* const* name = partNames.begin();
    for (std::string_view part : parts) {
        zip_source_t* source = zip_source_buffer(archive, part.data(), part.size(), 0);
        const zip_int64_t index = zip_file_add(archive, *name++, source, ZIP_FL_OVERWRITE);
        check(index >= 0, "cannot add a part");
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
    }
    check(zip_close(archive) == 0, "cannot write the zip buffer");
    std::string bytes;
    zip_stat_t stat;
    check(zip_source_open(buffer) == 0 && zip_source_stat(buffer, &stat) == 0, "cannot read the zip buffer");
    bytes.resize(static_cast<std::size_t>(stat.size));
    check(zip_source_read(buffer, bytes.data(), stat.size) == static_cast<zip_int64_t>(stat.size),
          "cannot read the zip buffer");
    zip_source_close(buffer);
    zip_source_free(buffer);
    zip_error_fini(&error);
    return bytes;
}

}  // namespace leafmill::fuzz
