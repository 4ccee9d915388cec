// The whole Word 97-2003 reader over arbitrary bytes.
#include "FuzzSupport.h"
#include "extract/doc/DocToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(leafmill::extract::docToText, {reinterpret_cast<const char*>(data), size});
}
