// The RTF reader over arbitrary bytes.
#include "ExtractorChecks.h"

#include "extract/rtf/RtfToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    leafmill::fuzz::runExtractor(leafmill::extract::rtfToText, data, size);
    return 0;
}
