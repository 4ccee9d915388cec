// The EPUB reader over arbitrary bytes.
#include "ExtractorChecks.h"

#include "extract/epub/EpubToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    leafmill::fuzz::runExtractor(leafmill::extract::epubToText, data, size);
    return 0;
}
