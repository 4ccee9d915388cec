// The Word 2007+ reader over arbitrary packages and arbitrary XML parts.
#include "ExtractorChecks.h"
#include "PackageInput.h"

#include "extract/docx/DocxToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string package = leafmill::fuzz::packageFromInput(
        std::string_view(reinterpret_cast<const char*>(data), size),
        {"word/document.xml", "word/numbering.xml", "word/styles.xml", "word/footnotes.xml"});
    leafmill::fuzz::runExtractor(leafmill::extract::docxToText, reinterpret_cast<const std::uint8_t*>(package.data()),
                                 package.size());
    return 0;
}
