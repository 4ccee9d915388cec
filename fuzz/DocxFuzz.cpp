// The Word 2007+ reader over arbitrary packages and arbitrary XML parts.
#include "FuzzSupport.h"
#include "PackageInput.h"
#include "extract/docx/DocxToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(leafmill::extract::docxToText,
                                        leafmill::fuzz::packageFromInput({reinterpret_cast<const char*>(data), size},
                                                                         {"word/document.xml", "word/numbering.xml",
                                                                          "word/styles.xml", "word/footnotes.xml"}));
}
