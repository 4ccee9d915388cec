// The PDF reader (through the PDF library) over arbitrary bytes.
#include "ExtractorChecks.h"

#include "extract/pdf/PdfToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    leafmill::fuzz::runExtractor(leafmill::extract::pdfToText, data, size);
    return 0;
}
