// The RTF reader over arbitrary bytes.
#include "FuzzSupport.h"
#include "extract/rtf/RtfToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(leafmill::extract::rtfToText, {reinterpret_cast<const char*>(data), size});
}
