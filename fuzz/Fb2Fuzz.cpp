// The FictionBook reader over arbitrary bytes: XML in any declared encoding, or a zip.
#include "FuzzSupport.h"
#include "extract/fb2/Fb2ToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(leafmill::extract::fb2ToText, {reinterpret_cast<const char*>(data), size});
}
