// The compound-file reader: a file opens or is refused with a reason, and no
// stream outgrows the file (as a looping or shared sector chain would).
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
