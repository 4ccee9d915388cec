// The Kindle and Palm book reader over arbitrary bytes.
#include "FuzzSupport.h"
#include "extract/mobi/MobiToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(leafmill::extract::mobiToText, {reinterpret_cast<const char*>(data), size});
}
