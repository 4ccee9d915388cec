// The DjVu text layer reader over arbitrary bytes.
#include "FuzzSupport.h"
#include "extract/djvu/DjvuToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(leafmill::extract::djvuToText, {reinterpret_cast<const char*>(data), size});
}
