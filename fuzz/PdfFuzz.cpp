// The PDF reader (through the PDF library) over arbitrary bytes.
#include "FuzzSupport.h"
#include "extract/pdf/PdfToText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    return leafmill::fuzz::runExtractor(leafmill::extract::pdfToText, {reinterpret_cast<const char*>(data), size});
}
