#include "extract/common/ReaderModule.h"
#include "extract/layout/Scripts.h"
#include "extract/pdf/PdfModule.h"
#include "text/Utf8.h"

// poppler's core interface, the one its own pdftotext uses. Its C++ wrapper
// hands each word over as UTF-16 made by a fresh iconv (UTF-8 again by
// another) with a copy of every glyph's box, which took longer than laying
// out the pages. This interface changes between poppler releases; this file
// is the one place to adapt.
#include <ErrorCodes.h>
#include <GfxState.h>
#include <GlobalParams.h>
#include <Link.h>
#include <Outline.h>
#include <PDFDoc.h>
#include <Page.h>
#include <Stream.h>
#include <TextOutputDev.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

namespace leafmill::extract::pdf {

namespace {

// The library reports every repair it makes on standard error; a damaged
// document is our caller's to report, in words, or not at all.
void ignoreLibraryMessage(ErrorCategory, Goffset, const char*)
{
}

void setUpLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] {
        globalParams = std::make_unique<GlobalParams>();
        setErrorCallback(&ignoreLibraryMessage);
    });
}

// Code points that are no characters (surrogates, beyond U+10FFFF) are left
// out, so that the text stays well-formed UTF-8.
void appendUtf8(std::string& out, Unicode c)
{
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        return;
    leafmill::appendUtf8(static_cast<char32_t>(c), out);
}

std::string utf8(const Unicode* text, int length)
{
    std::string out;
    for (int i = 0; i < length; ++i)
        appendUtf8(out, text[i]);
    return out;
}

std::string textOf(const TextWord& word)
{
    std::string out;
    for (int i = 0; i < word.getLength(); ++i)
        appendUtf8(out, *word.getChar(i));
    return out;
}

// A page that draws more forms than this is read only up to there: real
// pages stay far below, while forms that draw forms twice over, forty levels
// deep, would take days (and each form drawn costs more than the one before).
constexpr long kPageForms = 10'000;

// The text device, with two changes: a glyph that stands for several
// characters of a right-to-left script (Arabic's lam-alef) hands them over
// in the order they stand on the page, as every other glyph is, so that the
// line turned round into reading order has them right; and a page stops
// drawing its forms past the page's share (the library's own question
// whether to go on is never asked inside forms of a few operators).
class LayoutDevice : public TextOutputDev {
public:
    LayoutDevice()
        : TextOutputDev(nullptr, false, 0, false, false)
    {
    }

    void startPage(int pageNum, GfxState* state, XRef* xref) override
    {
        formsLeft_ = kPageForms;
        TextOutputDev::startPage(pageNum, state, xref);
    }
    // Asked before each form is drawn: past the share the form goes to
    // drawForm(), which draws nothing.
    bool useDrawForm() override { return --formsLeft_ < 0; }
    void drawForm(Ref) override { }
    bool cutShort() const { return formsLeft_ < 0; }

    void drawChar(GfxState* state, double x, double y, double dx, double dy, double originX, double originY, CharCode c,
                  int nBytes, const Unicode* u, int uLen) override
    {
        if (uLen < 2 || uLen > maxGlyphChars
            || !std::any_of(u, u + uLen, [](Unicode unit) { return layout::isRightToLeft(unit); })) {
            TextOutputDev::drawChar(state, x, y, dx, dy, originX, originY, c, nBytes, u, uLen);
            return;
        }
        Unicode shown[maxGlyphChars];
        std::reverse_copy(u, u + uLen, shown);
        TextOutputDev::drawChar(state, x, y, dx, dy, originX, originY, c, nBytes, shown, uLen);
    }

private:
    static constexpr int maxGlyphChars = 8;
    long formsLeft_ = kPageForms;
};

// The library's catalog keeps every page it has found until the document is
// closed, some 1.7 KB each (50 MB over 30,000 pages), and has no way to let
// one go. Its list is reached through the explicit instantiation of a
// template over the private member, which access rules leave open; the
// list's type is checked against the header this file is built with.
using CatalogPages = std::vector<std::pair<std::unique_ptr<Page>, Ref>>;
CatalogPages Catalog::*catalogPages();
template <CatalogPages Catalog::*Pages> struct CatalogPagesAccess {
    friend CatalogPages Catalog::*catalogPages() { return Pages; }
};
template struct CatalogPagesAccess<&Catalog::pages>;

// What a bookmark needs of a page let go: where it shows its top.
struct PageFrame {
    PDFRectangle cropBox;
    int rotation = 0;
};

// Turns a page box into the frame of the writing direction, so that lines
// are always read left to right and top to bottom.
Word wordIn(std::string text, double x0, double y0, double x1, double y1, int rotation, bool spaceAfter,
            double fontSize)
{
    Word word {std::move(text), x0, y0, x1, y1, spaceAfter, rotation, fontSize};
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

// An open document and the one text device that lays out each of its pages.
struct Document {
    std::string_view bytes;
    std::unique_ptr<PDFDoc> pdf;
    LayoutDevice text;
    // The pages are drawn in order and each is let go once drawn, with those
    // before it, unless the document has a form (whose fields refer to the
    // pages' widgets).
    bool letPagesGo = false;
    int pagesLetGo = 0;
    std::vector<std::optional<PageFrame>> frames;  // of the pages let go
};

Document& documentOf(const void* document)
{
    return *static_cast<Document*>(const_cast<void*>(document));
}

std::unique_ptr<PDFDoc> openPdf(std::string_view bytes)
{
    // The document owns the stream; the stream reads the bytes in place.
    return std::make_unique<PDFDoc>(
        new MemStream(bytes.data(), 0, static_cast<Goffset>(bytes.size()), Object(objNull)));
}

// Lets go of the catalog's pages up to `index`, keeping their frames.
void letGoUpTo(Document& open, int index)
{
    CatalogPages& pages = open.pdf->getCatalog()->*catalogPages();
    const int end = std::min(index + 1, static_cast<int>(pages.size()));
    for (; open.pagesLetGo < end; ++open.pagesLetGo) {
        std::unique_ptr<Page>& page = pages[static_cast<std::size_t>(open.pagesLetGo)].first;
        if (!page)
            continue;
        open.frames.resize(static_cast<std::size_t>(open.pagesLetGo) + 1);
        open.frames.back() = PageFrame {*page->getCropBox(), page->getRotate()};
        page.reset();
    }
}

// The frame of page `number` (from 1), where the page can be found.
std::optional<PageFrame> frameOf(Document& open, int number)
{
    if (const Page* page = open.pdf->getPage(number))
        return PageFrame {*page->getCropBox(), page->getRotate()};
    if (number <= static_cast<int>(open.frames.size()))
        return open.frames[static_cast<std::size_t>(number - 1)];
    return std::nullopt;
}

// Where a bookmark goes: its page and, when it names one, the height there,
// measured from the top as the text device measures the words.
void setDestination(Document& open, const OutlineItem& item, OutlineEntry& entry)
{
    PDFDoc& pdf = *open.pdf;
    const LinkAction* action = item.getAction();
    if (action == nullptr || action->getKind() != actionGoTo)
        return;
    const auto& goTo = static_cast<const LinkGoTo&>(*action);
    std::unique_ptr<LinkDest> named;
    const LinkDest* dest = goTo.getDest();
    if (dest == nullptr && goTo.getNamedDest() != nullptr) {
        named = pdf.findDest(goTo.getNamedDest());
        dest = named.get();
    }
    if (dest == nullptr || !dest->isOk())
        return;
    const int page = dest->isPageRef() ? pdf.findPage(dest->getPageRef()) : dest->getPageNum();
    if (page < 1 || page > pdf.getNumPages())
        return;
    entry.page = page - 1;
    const bool hasTop = dest->getKind() == destFitR || dest->getChangeTop();
    const std::optional<PageFrame> frame = hasTop ? frameOf(open, page) : std::nullopt;
    if (!frame)
        return;
    const GfxState state(72, 72, &frame->cropBox, frame->rotation, true);
    double x = 0, y = 0;
    state.transform(dest->getLeft(), dest->getTop(), &x, &y);
    entry.top = y;
}

void collectOutline(Document& open, const std::vector<OutlineItem*>* items, int level, std::size_t limit,
                    std::vector<OutlineEntry>& entries)
{
    if (items == nullptr)
        return;
    for (OutlineItem* item : *items) {
        if (entries.size() >= limit)
            return;
        entries.push_back({oneLine(utf8(item->getTitle(), item->getTitleLength())), level, -1, std::nullopt});
        setDestination(open, *item, entries.back());
        item->open();
        collectOutline(open, item->getKids(), level + 1, limit, entries);
    }
}

void* openDocument(std::string_view bytes, std::string& reason)
{
    setUpLibrary();
    if (bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        reason = "the PDF is too large (over 2 GB)";
        return nullptr;
    }
    auto document = std::make_unique<Document>();
    document->bytes = bytes;
    document->pdf = openPdf(bytes);
    if (!document->pdf->isOk()) {
        reason = document->pdf->getErrorCode() == errEncrypted ? "the PDF is encrypted and needs a password to open"
                                                               : "the file is damaged or not a PDF document";
        return nullptr;
    }
    document->letPagesGo = document->pdf->getCatalog()->getFormType() == Catalog::NoForm;
    return document.release();
}

void closeDocument(void* document)
{
    delete static_cast<Document*>(document);
}

int pageCount(const void* document)
{
    return documentOf(document).pdf->getNumPages();
}

std::vector<Word> pageWords(const void* document, int index, bool* cutShort)
{
    std::vector<Word> words;
    Document& open = documentOf(document);
    if (index < 0 || index >= open.pdf->getNumPages() || !open.text.isOk())
        return words;
    // A page let go is found again in the document opened anew.
    if (index < open.pagesLetGo) {
        open.pdf = openPdf(open.bytes);
        open.pagesLetGo = 0;
    }
    // A page the document counts but its page tree lacks draws nothing: the
    // text device would still hold the page drawn before it.
    Page* page = open.pdf->getPage(index + 1);
    if (page == nullptr)
        return words;
    page->display(&open.text, 72, 72, 0, false, false, false);
    if (open.letPagesGo)
        letGoUpTo(open, index);
    *cutShort = open.text.cutShort();
    const std::unique_ptr<TextWordList> list = open.text.makeWordList();
    if (!list)
        return words;
    words.reserve(static_cast<std::size_t>(list->getLength()));
    for (int i = 0; i < list->getLength(); ++i) {
        const TextWord* word = list->get(i);
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        word->getBBox(&x0, &y0, &x1, &y1);
        words.push_back(
            wordIn(textOf(*word), x0, y0, x1, y1, word->getRotation(), word->hasSpaceAfter(), word->getFontSize()));
    }
    return words;
}

std::vector<OutlineEntry> outline(const void* document, std::size_t limit)
{
    std::vector<OutlineEntry> entries;
    Document& open = documentOf(document);
    const Outline* outline = open.pdf->getOutline();
    if (outline != nullptr)
        collectOutline(open, outline->getItems(), 1, limit, entries);
    return entries;
}

}  // namespace

}  // namespace leafmill::extract::pdf

extern "C" LEAFMILL_MODULE_EXPORT const void* leafmill_pdf_module()
{
    using namespace leafmill::extract::pdf;
    static const PdfModule module {pdfModuleVersion, &openDocument, &closeDocument, &pageCount, &pageWords, &outline};
    return &module;
}
