// The compiled help book reader over arbitrary bytes.
#include "FuzzSupport.h"
#include "extract/chm/ChmToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(leafmill::extract::chmToText, {reinterpret_cast<const char*>(data), size});
}
