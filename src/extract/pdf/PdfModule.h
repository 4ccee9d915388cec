#pragma once

#include "extract/pdf/PdfDocument.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::pdf {

// What the PDF module (leafmill-pdf) offers the programs, which load it only
// when they first read a PDF: the PDF library and the many libraries behind
// it would otherwise cost every start. Module and programs come from one
// build; `version` refuses a module left over from another.
struct PdfModule {
    int version;
    // Null with `reason` set when the bytes are no PDF the library opens.
    void* (*open)(std::string_view bytes, std::string& reason);
    void (*close)(void* document);
    int (*pageCount)(const void* document);
    // `*cutShort` tells a page that draws more than a page can (forms that
    // draw forms, over and over) and was read only in part.
    std::vector<Word> (*pageWords)(const void* document, int index, bool* cutShort);
    std::vector<OutlineEntry> (*outline)(const void* document, std::size_t limit);
};

// Raised whenever the table or the types it passes change.
constexpr int pdfModuleVersion = 3;

}  // namespace leafmill::extract::pdf

// The one symbol the module exports: its PdfModule, untyped as every
// reader module's entry is (extract/common/ReaderModule.h).
extern "C" const void* leafmill_pdf_module();
