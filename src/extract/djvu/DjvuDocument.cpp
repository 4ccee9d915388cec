#include "extract/djvu/DjvuDocument.h"

#include "extract/package/PackageError.h"

#include <libdjvu/ddjvuapi.h>
#include <libdjvu/miniexp.h>

#include <cstdlib>
#include <string>

namespace leafmill::extract::djvu {

using package::PackageError;

namespace {

// The text layer nests page, column, region, paragraph, line, word and
// character; anything deeper is damage.
constexpr int kMaxTextDepth = 8;
constexpr int kMaxOutlineDepth = 32;

bool isSymbol(miniexp_t e, const char* name)
{
    return miniexp_symbolp(e) && std::string_view(miniexp_to_name(e)) == name;
}

struct PageFrame {
    double height = 0, scale = 1;  // pixels, points per pixel
};

void collectWords(miniexp_t zone, const PageFrame& frame, int depth, std::vector<layout::Word>& words)
{
    if (!miniexp_consp(zone) || depth > kMaxTextDepth || miniexp_length(zone) < 5)
        return;
    int box[4];
    for (int k = 0; k < 4; ++k) {
        const miniexp_t n = miniexp_nth(k + 1, zone);
        if (!miniexp_numberp(n))
            return;
        box[k] = miniexp_to_int(n);
    }
    const miniexp_t type = miniexp_car(zone);
    const miniexp_t first = miniexp_nth(5, zone);
    if ((isSymbol(type, "word") || isSymbol(type, "char") || !miniexp_consp(first)) && miniexp_stringp(first)) {
        layout::Word word;
        word.text = miniexp_to_str(first);
        // The layer counts pixels up from the bottom left corner.
        word.left = box[0] * frame.scale;
        word.right = box[2] * frame.scale;
        word.top = (frame.height - box[3]) * frame.scale;
        word.bottom = (frame.height - box[1]) * frame.scale;
        word.fontSize = word.bottom - word.top;
        if (!word.text.empty() && word.right > word.left && word.bottom > word.top)
            words.push_back(std::move(word));
        return;
    }
    for (miniexp_t child = miniexp_cddr(miniexp_cdddr(zone)); miniexp_consp(child); child = miniexp_cdr(child))
        collectWords(miniexp_car(child), frame, depth + 1, words);
}

// "#12" goes to the twelfth page; other targets (page names, URLs) to none.
int targetPage(const char* url, int pages)
{
    if (!url || url[0] != '#')
        return -1;
    char* end = nullptr;
    const long page = std::strtol(url + 1, &end, 10);
    return end != url + 1 && *end == '\0' && page >= 1 && page <= pages ? static_cast<int>(page - 1) : -1;
}

void collectBookmarks(miniexp_t list, int level, int pages, std::size_t limit,
                      std::vector<layout::OutlineEntry>& entries)
{
    if (level > kMaxOutlineDepth)
        return;
    for (; miniexp_consp(list) && entries.size() < limit; list = miniexp_cdr(list)) {
        const miniexp_t mark = miniexp_car(list);
        if (!miniexp_consp(mark) || !miniexp_stringp(miniexp_car(mark)))
            continue;
        const miniexp_t url = miniexp_cadr(mark);
        layout::OutlineEntry entry;
        entry.title = miniexp_to_str(miniexp_car(mark));
        entry.level = level;
        entry.page = targetPage(miniexp_stringp(url) ? miniexp_to_str(url) : nullptr, pages);
        if (!entry.title.empty())
            entries.push_back(std::move(entry));
        collectBookmarks(miniexp_cddr(mark), level + 1, pages, limit, entries);
    }
}

}  // namespace

DjvuDocument::DjvuDocument(std::string_view bytes)
{
    if (!bytes.starts_with("AT&TFORM"))
        throw PackageError("the file is no DjVu document");
    context_ = ddjvu_context_create("leafmill");
    if (!context_)
        throw std::bad_alloc();
    document_ = ddjvu_document_create(context_, nullptr, FALSE);
    if (!document_)
        throw PackageError("the DjVu document cannot be opened");
    ddjvu_stream_write(document_, 0, bytes.data(), bytes.size());
    ddjvu_stream_close(document_, 0, FALSE);
    while (!ddjvu_document_decoding_done(document_))
        handleMessages(true);
    if (ddjvu_document_decoding_error(document_))
        throw PackageError("the DjVu document is damaged and cannot be decoded");
    const ddjvu_document_type_t type = ddjvu_document_get_type(document_);
    if (type == DDJVU_DOCTYPE_INDIRECT || type == DDJVU_DOCTYPE_OLD_INDEXED)
        throw PackageError(
            "the DjVu document keeps its pages in other files: only a bundled (single-file) one can be read");
}

DjvuDocument::~DjvuDocument()
{
    if (document_)
        ddjvu_document_release(document_);
    if (context_)
        ddjvu_context_release(context_);
}

void DjvuDocument::handleMessages(bool wait) const
{
    if (wait)
        ddjvu_message_wait(context_);
    while (const ddjvu_message_t* message = ddjvu_message_peek(context_)) {
        // Other files of the document are never fetched: the bytes are all there is.
        if (message->m_any.tag == DDJVU_NEWSTREAM && message->m_newstream.streamid != 0)
            ddjvu_stream_close(document_, message->m_newstream.streamid, TRUE);
        ddjvu_message_pop(context_);
    }
}

int DjvuDocument::pageCount() const
{
    return ddjvu_document_get_pagenum(document_);
}

std::vector<layout::Word> DjvuDocument::pageWords(int index, bool* damaged) const
{
    std::vector<layout::Word> words;
    ddjvu_pageinfo_t info;
    ddjvu_status_t status;
    while ((status = ddjvu_document_get_pageinfo(document_, index, &info)) < DDJVU_JOB_OK)
        handleMessages(true);
    if (status != DDJVU_JOB_OK || info.height <= 0) {
        *damaged = true;
        return words;
    }
    miniexp_t text;
    while ((text = ddjvu_document_get_pagetext(document_, index, "word")) == miniexp_dummy)
        handleMessages(true);
    // A page without text gives the empty list; one that fails, a symbol.
    *damaged = miniexp_symbolp(text);
    const PageFrame frame {static_cast<double>(info.height), 72.0 / (info.dpi > 0 ? info.dpi : 300)};
    collectWords(text, frame, 0, words);
    ddjvu_miniexp_release(document_, text);
    return words;
}

std::vector<layout::OutlineEntry> DjvuDocument::outline(std::size_t limit) const
{
    std::vector<layout::OutlineEntry> entries;
    miniexp_t outline;
    while ((outline = ddjvu_document_get_outline(document_)) == miniexp_dummy)
        handleMessages(true);
    if (miniexp_consp(outline) && isSymbol(miniexp_car(outline), "bookmarks"))
        collectBookmarks(miniexp_cdr(outline), 1, pageCount(), limit, entries);
    ddjvu_miniexp_release(document_, outline);
    return entries;
}

}  // namespace leafmill::extract::djvu
