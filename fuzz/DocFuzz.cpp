// The whole Word 97-2003 reader over arbitrary bytes.
#include "ExtractorChecks.h"

#include "extract/doc/DocToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    leafmill::fuzz::runExtractor(leafmill::extract::docToText, data, size);
    return 0;
}
