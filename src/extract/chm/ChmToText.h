#pragma once

#include "extract/Extractor.h"

namespace leafmill::extract {

// The plain text of a compiled help book (.chm): its pages in the order of
// its contents (.hhc), else of its index (.hhk), else of the archive, each
// read as an HTML page; a page that declares no character set is read in the
// code page of the book's locale. The contents' names are the chapters (the
// pages' own headings where the book has no contents). A damaged book, and
// one without a readable page, is refused with a reason.
Result chmToText(std::string_view bytes, const Options& options);

}  // namespace leafmill::extract
