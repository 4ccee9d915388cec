// The HTML filter over arbitrary page bytes.
#include "FuzzSupport.h"
#include "extract/markup/HtmlToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(leafmill::extract::htmlToText, {reinterpret_cast<const char*>(data), size});
}
