// The OpenDocument text reader over arbitrary packages, XML parts and flat documents.
#include "FuzzSupport.h"
#include "PackageInput.h"
#include "extract/odt/OdtToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    // A zip or flat XML is read as it stands; other input is one byte, then the parts.
    if (input.starts_with("PK") || input.starts_with("<"))
        return leafmill::fuzz::runExtractor(leafmill::extract::odtToText, input);
    return leafmill::fuzz::runExtractor(
        leafmill::extract::odtToText,
        leafmill::fuzz::packageFromInput(input.substr(input.empty() ? 0 : 1), {"content.xml", "styles.xml"}));
}
