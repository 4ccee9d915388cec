// The HTML filter over arbitrary page bytes.
#include "ExtractorChecks.h"

#include "extract/html/HtmlToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    leafmill::fuzz::runExtractor(leafmill::extract::htmlToText, data, size);
    return 0;
}
