#include "extract/pdf/PdfModule.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>
#include <poppler-toc.h>

#include <limits>
#include <mutex>

namespace leafmill::extract::pdf {

namespace {

// The library reports every repair it makes on standard error; a damaged
// document is our caller's to report, in words, or not at all.
void ignoreLibraryMessage(const std::string&, void*) { }

void silenceLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { poppler::set_debug_error_function(&ignoreLibraryMessage, nullptr); });
}

std::string utf8(const poppler::ustring& text)
{
    const poppler::byte_array bytes = text.to_utf8();
    return std::string(bytes.begin(), bytes.end());
}

// Turns a page box into the frame of the writing direction, so that lines
// are always read left to right and top to bottom.
Word wordIn(std::string text, const poppler::rectf& box, int rotation, bool spaceAfter)
{
    const double x0 = box.left(), x1 = box.right(), y0 = box.top(), y1 = box.bottom();
    Word word { std::move(text), x0, y0, x1, y1, spaceAfter, rotation };
    switch (rotation) {
    case 1:  // downwards; lines follow to the left
        word.left = y0, word.right = y1, word.top = -x1, word.bottom = -x0;
        break;
    case 2:  // upside down
        word.left = -x1, word.right = -x0, word.top = -y1, word.bottom = -y0;
        break;
    case 3:  // upwards; lines follow to the right
        word.left = -y1, word.right = -y0, word.top = x0, word.bottom = x1;
        break;
    default:
        break;
    }
    return word;
}

std::string oneLine(std::string title)
{
    for (char& c : title)
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
    return title;
}

void collectOutline(const poppler::toc_item& item, int level, std::size_t limit, std::vector<OutlineEntry>& entries)
{
    for (const poppler::toc_item* child : item.children()) {
        if (entries.size() >= limit)
            return;
        entries.push_back({ oneLine(utf8(child->title())), level });
        collectOutline(*child, level + 1, limit, entries);
    }
}

poppler::document& documentOf(const void* document)
{
    return *static_cast<poppler::document*>(const_cast<void*>(document));
}

void* openDocument(std::string_view bytes, std::string& reason)
{
    silenceLibrary();
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        reason = "the PDF is too large (over 2 GB)";
        return nullptr;
    }
    std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(bytes.data(), static_cast<int>(bytes.size())));
    if (!document) {
        reason = "the file is damaged or not a PDF document";
        return nullptr;
    }
    if (document->is_locked()) {
        reason = "the PDF is encrypted and needs a password to open";
        return nullptr;
    }
    return document.release();
}

void closeDocument(void* document) { delete static_cast<poppler::document*>(document); }

int pageCount(const void* document) { return documentOf(document).pages(); }

std::vector<Word> pageWords(const void* document, int index)
{
    std::vector<Word> words;
    const std::unique_ptr<poppler::page> page(documentOf(document).create_page(index));
    if (!page)
        return words;
    const std::vector<poppler::text_box> boxes = page->text_list();
    words.reserve(boxes.size());
    for (const poppler::text_box& box : boxes)
        words.push_back(wordIn(utf8(box.text()), box.bbox(), box.rotation(), box.has_space_after()));
    return words;
}

std::vector<OutlineEntry> outline(const void* document, std::size_t limit)
{
    std::vector<OutlineEntry> entries;
    const std::unique_ptr<poppler::toc> toc(documentOf(document).create_toc());
    if (toc && toc->root())
        collectOutline(*toc->root(), 1, limit, entries);
    return entries;
}

}  // namespace

}  // namespace leafmill::extract::pdf

#ifdef _WIN32
#define LEAFMILL_PDF_EXPORT __declspec(dllexport)
#else
#define LEAFMILL_PDF_EXPORT __attribute__((visibility("default")))
#endif

extern "C" LEAFMILL_PDF_EXPORT const leafmill::extract::pdf::PdfModule* leafmill_pdf_module()
{
    using namespace leafmill::extract::pdf;
    static const PdfModule module { pdfModuleVersion, &openDocument, &closeDocument, &pageCount, &pageWords, &outline };
    return &module;
}
