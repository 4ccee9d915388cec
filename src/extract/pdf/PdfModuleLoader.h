#pragma once

#include "extract/pdf/PdfModule.h"

#include <filesystem>
#include <string>
#include <vector>

namespace leafmill::extract::pdf {

struct LoadedPdfModule {
    const PdfModule* module = nullptr;
    std::string failure;  // why there is no module, as a reason for the source
};

// The first of `places` that holds a PDF module of this build, kept loaded
// until the program ends.
LoadedPdfModule loadPdfModule(const std::vector<std::filesystem::path>& places);

// The module from its usual places, loaded on the first call: beside the
// program, where an installation keeps it, and in the build's program folder.
const LoadedPdfModule& pdfModule();

}  // namespace leafmill::extract::pdf
