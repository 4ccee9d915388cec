// The EPUB reader over arbitrary bytes.
#include "FuzzSupport.h"
#include "extract/epub/EpubToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(leafmill::extract::epubToText, {reinterpret_cast<const char*>(data), size});
}
