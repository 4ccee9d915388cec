#include "extract/pdf/PdfModuleLoader.h"

#include "extract/common/ReaderModule.h"

namespace leafmill::extract::pdf {

namespace {

constexpr ReaderModuleName pdfModuleName {"leafmill-pdf", "leafmill_pdf_module", "PDF reader", pdfModuleVersion};

}  // namespace

LoadedPdfModule loadPdfModule(const std::vector<std::filesystem::path>& places)
{
    LoadedReaderModule loaded = loadReaderModule(pdfModuleName, places);
    return {static_cast<const PdfModule*>(loaded.table), std::move(loaded.failure)};
}

const LoadedPdfModule& pdfModule()
{
    static const LoadedPdfModule loaded = loadPdfModule(readerModulePlaces(pdfModuleName));
    return loaded;
}

}  // namespace leafmill::extract::pdf
