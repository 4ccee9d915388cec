// The compound-file reader alone: any file either opens or is refused as
// damaged with a reason, and no stream it yields is larger than the file it came from (a
// chain that loops or reuses sectors would make it so).
#include "FuzzSupport.h"

#include "extract/doc/CompoundFile.h"
#include "extract/doc/DocFormatError.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace leafmill::extract::doc;
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    try {
        const CompoundFile compound(file);
        for (const char* name : {"WordDocument", "1Table", "0Table", "Data", "\x05SummaryInformation", "Root Entry"}) {
            const auto bytes = compound.stream(name);
            if (bytes)
                leafmill::fuzz::check(bytes->size() <= file.size(),
                                      std::string("stream larger than the file: ") + name);
        }
    } catch (const DocFormatError& error) {
        leafmill::fuzz::check(*error.what() != '\0', "a refusal without a reason");
    }
    return 0;
}
