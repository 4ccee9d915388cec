// The zipped text and HTML book reader over arbitrary packages and arbitrary pages and metadata.
#include "FuzzSupport.h"
#include "PackageInput.h"
#include "extract/zipped/ZippedBookToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(
        leafmill::extract::zippedBookToText,
        leafmill::fuzz::packageFromInput({reinterpret_cast<const char*>(data), size}, {"index.html", "metadata.opf"}),
        true);
}
