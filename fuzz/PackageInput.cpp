#include "PackageInput.h"
#include "ZipWriter.h"

namespace leafmill::fuzz {

std::string packageFromInput(std::string_view input, std::initializer_list<const char*> partNames)
{
    if (input.substr(0, 2) == "PK")
        return std::string(input);
    test::ZipParts parts;
    for (const char* name : partNames) {
        const std::size_t cut = parts.size() + 1 < partNames.size() ? input.find('\1') : std::string_view::npos;
        parts.emplace_back(name, input.substr(0, cut));
        if (cut == std::string_view::npos)
            break;
        input.remove_prefix(cut + 1);
    }
    return test::makeZip(parts);
}

}  // namespace leafmill::fuzz
