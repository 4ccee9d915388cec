#include "extract/pdf/PdfToText.h"

#include "extract/layout/PagedText.h"
#include "extract/pdf/PdfDocument.h"

#include <atomic>
#include <memory>

namespace leafmill::extract {

Result pdfToText(std::string_view bytes, const Options& options)
{
    if (!bytes.starts_with("%PDF-") && bytes.substr(0, 1024).find("%PDF-") == std::string_view::npos)
        return Result::failure("not a PDF document");
    // Running out of memory is left to the caller, which reads documents
    // apart under a limit and names it.
    std::string reason;
    const auto document = pdf::PdfDocument::open(bytes, reason);
    if (!document)
        return Result::failure(reason);
    // A second thread lays out pages in a document of its own over the same
    // bytes: the library's documents cannot be shared between threads.
    // The library looks anywhere in the bytes for a page's objects; what it
    // has read is given back every so many pages, or a long document would
    // stay whole in memory once read.
    constexpr unsigned kReleaseEvery = 64;
    std::atomic<unsigned> pagesRead {0};
    const auto wordsOf = [&](const pdf::PdfDocument& pdf, int index, bool* cutShort) {
        std::vector<layout::Word> words = pdf.pageWords(index, cutShort);
        if (options.release && ++pagesRead % kReleaseEvery == 0)
            options.release(bytes);
        return words;
    };
    const auto anotherReader = [bytes, &wordsOf]() -> layout::PageReader {
        std::string ignored;
        std::shared_ptr<pdf::PdfDocument> another = pdf::PdfDocument::open(bytes, ignored);
        if (!another)
            return {};
        return [another, &wordsOf](int index, bool* cutShort) { return wordsOf(*another, index, cutShort); };
    };
    const layout::PagedDocument paged {document->pageCount(),
                                       [&](int index, bool* cutShort) { return wordsOf(*document, index, cutShort); },
                                       [&](std::size_t limit) { return document->outline(limit); }};
    return layout::pagedText(paged, options,
                             {"the PDF has no pages",
                              "the PDF has no text layer, only pictures of pages (a scan?): there is no text to read"},
                             anotherReader);
}

}  // namespace leafmill::extract
