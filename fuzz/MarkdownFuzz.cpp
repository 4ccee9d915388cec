// The Markdown reader over arbitrary bytes.
#include "FuzzSupport.h"
#include "extract/markdown/MarkdownToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(leafmill::extract::markdownToText, {reinterpret_cast<const char*>(data), size});
}
