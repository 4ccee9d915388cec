#include "extract/djvu/DjvuToText.h"

#include "extract/djvu/DjvuDocument.h"
#include "extract/layout/PagedText.h"
#include "extract/package/PackageReading.h"

namespace leafmill::extract {

Result djvuToText(std::string_view bytes, const Options& options)
{
    return package::readGuarded([&] {
        djvu::DjvuDocument document(bytes);
        // The library keeps its own copy of the document; the file's pages
        // need not stay in memory beside it.
        if (options.release)
            options.release(bytes);
        int damaged = 0;
        const layout::PagedDocument paged {document.pageCount(),
                                           [&](int index, bool*) {
                                               bool broken = false;
                                               std::vector<layout::Word> words = document.pageWords(index, &broken);
                                               damaged += broken;
                                               return words;
                                           },
                                           [&](std::size_t limit) { return document.outline(limit); }};
        Result result = layout::pagedText(paged, options,
                                          {"the DjVu document has no pages",
                                           "the DjVu document holds scanned pages without text (no text layer): "
                                           "there is no text to read"});
        // Pages that cannot be decoded are damage, not pages without text.
        const std::string pages = std::to_string(damaged) + " of its " + std::to_string(paged.pageCount) + " pages";
        if (damaged > 0 && !result.ok)
            result.error = "the DjVu document is damaged: " + pages + " cannot be decoded";
        else if (damaged > 0)
            result.warnings.push_back("the DjVu document is damaged: " + pages + " cannot be decoded and are left out");
        return result;
    });
}

}  // namespace leafmill::extract
