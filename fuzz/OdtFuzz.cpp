// The OpenDocument text reader over arbitrary packages, XML parts and flat documents.
#include "ExtractorChecks.h"
#include "PackageInput.h"

#include "extract/odt/OdtToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // A zip or a flat document (input that starts as XML) is read as it
    // stands; other input is one byte of choice and then the package's parts.
    const bool asItIs = input.substr(0, 2) == "PK" || input.substr(0, 1) == "<";
    const std::string package = asItIs
        ? std::string(input)
        : leafmill::fuzz::packageFromInput(input.substr(input.empty() ? 0 : 1), {"content.xml", "styles.xml"});
    leafmill::fuzz::runExtractor(leafmill::extract::odtToText, reinterpret_cast<const std::uint8_t*>(package.data()),
                                 package.size());
    return 0;
}
