#include "extract/djvu/DjvuDocument.h"

#include "extract/djvu/PageInfo.h"
#include "extract/package/PackageError.h"

#include <libdjvu/ddjvuapi.h>
#include <libdjvu/miniexp.h>

#include <algorithm>
#include <cstdlib>
#include <string>

// The library's catalogue of its own messages, declared here as the library
// defines it: its headers are not installed.
namespace DJVU {
class DjVuMessageLite {
public:
    static const DjVuMessageLite& create_lite();
};
}  // namespace DJVU

namespace leafmill::extract::djvu {

using package::PackageError;

namespace {

// The text layer nests page, column, region, paragraph, line, word and
// character; anything deeper is damage.
constexpr int kMaxTextDepth = 8;
constexpr int kMaxOutlineDepth = 32;
// Pages with text read both word by word and line by line before the lines
// are trusted to part their words.
constexpr int kPagesToCompare = 8;

bool isSymbol(miniexp_t e, const char* name)
{
    return miniexp_symbolp(e) && std::string_view(miniexp_to_name(e)) == name;
}

// What the layer puts between words, lines, paragraphs, regions and columns.
bool isSeparator(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f' || c == '\x1d' || c == '\x1f';
}

bool startsCodePoint(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
}

// The words of a zone's text (a line, or a word where the layer has none),
// each given the share of the zone's width its characters take: the library
// builds every word's own box under its one lock, a quarter of the whole
// reading, and the paragraph builder needs little more than where a line's
// first and last words end.
void addWords(std::string_view text, const int box[4], const PageFrame& frame, std::vector<layout::Word>& words)
{
    while (!text.empty() && isSeparator(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSeparator(text.back()))
        text.remove_suffix(1);
    const auto total = static_cast<double>(std::count_if(text.begin(), text.end(), startsCodePoint));
    // The layer counts pixels up from the bottom left corner; a word's edges
    // are placed in pixels, so that a zone of one word keeps its own.
    const double width = box[2] - box[0];
    const double top = (frame.height - box[3]) * frame.scale, bottom = (frame.height - box[1]) * frame.scale;
    if (total == 0 || width <= 0 || bottom <= top)
        return;
    const auto edge
        = [&](std::size_t chars) { return (box[0] + width * static_cast<double>(chars) / total) * frame.scale; };
    std::size_t before = 0;  // code points ahead of the word
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = at, chars = 0;
        for (; end < text.size() && !isSeparator(text[end]); ++end)
            chars += startsCodePoint(text[end]);
        layout::Word& word = words.emplace_back();
        word.text = text.substr(at, end - at);
        word.left = edge(before);
        word.right = edge(before + chars);
        word.top = top;
        word.bottom = bottom;
        word.fontSize = bottom - top;
        before += chars;
        for (; end < text.size() && isSeparator(text[end]); ++end)
            ++before;
        word.spaceAfter = end < text.size();
        at = end;
    }
}

// Whether two readings of a page give the same printed lines.
bool sameLines(const std::vector<layout::Word>& a, const std::vector<layout::Word>& b)
{
    const auto sameText = [](const layout::Line& x, const layout::Line& y) { return x.text == y.text; };
    return std::ranges::equal(layout::groupIntoLines(a), layout::groupIntoLines(b), sameText);
}

void collectWords(miniexp_t zone, const PageFrame& frame, int depth, std::vector<layout::Word>& words)
{
    if (!miniexp_consp(zone) || depth > kMaxTextDepth)
        return;
    int box[4];
    miniexp_t rest = miniexp_cdr(zone);
    for (int& edge : box) {
        if (!miniexp_consp(rest) || !miniexp_numberp(miniexp_car(rest)))
            return;
        edge = miniexp_to_int(miniexp_car(rest));
        rest = miniexp_cdr(rest);
    }
    if (miniexp_consp(rest) && miniexp_stringp(miniexp_car(rest))) {
        addWords(miniexp_to_str(miniexp_car(rest)), box, frame, words);
        return;
    }
    for (; miniexp_consp(rest); rest = miniexp_cdr(rest))
        collectWords(miniexp_car(rest), frame, depth + 1, words);
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
    // A context otherwise looks for the library's translated messages and
    // parses them, a sixth of reading a 300-page document; they would only
    // word the library's own errors, which are never shown. The built-in
    // catalogue, once made, is the one the library keeps.
    DJVU::DjVuMessageLite::create_lite();
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
    readPageSizes(bytes, type == DDJVU_DOCTYPE_SINGLEPAGE);
}

// The library's own page information decodes a whole page, pictures and
// all; the INFO chunk that holds it is read here from the bytes instead,
// where the library's directory says which file is which page.
void DjvuDocument::readPageSizes(std::string_view bytes, bool singlePage)
{
    pageSizes_.resize(static_cast<std::size_t>(std::max(0, pageCount())));
    if (singlePage && !pageSizes_.empty()) {
        pageSizes_[0] = pageSizeAt(bytes, 4);
        return;
    }
    const std::vector<std::size_t> offsets = bundledFileOffsets(bytes);
    const int files = ddjvu_document_get_filenum(document_);
    for (int file = 0; file < files && static_cast<std::size_t>(file) < offsets.size(); ++file) {
        ddjvu_fileinfo_t info;
        ddjvu_status_t status;
        while ((status = ddjvu_document_get_fileinfo(document_, file, &info)) < DDJVU_JOB_OK)
            handleMessages(true);
        if (status == DDJVU_JOB_OK && info.type == 'P' && info.pageno >= 0
            && static_cast<std::size_t>(info.pageno) < pageSizes_.size())
            pageSizes_[static_cast<std::size_t>(info.pageno)]
                = pageSizeAt(bytes, offsets[static_cast<std::size_t>(file)]);
    }
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

std::vector<layout::Word> DjvuDocument::pageWords(int index, bool* damaged)
{
    std::optional<PageSize> size = pageSizes_.at(static_cast<std::size_t>(index));
    if (!size) {
        ddjvu_pageinfo_t info;
        ddjvu_status_t status;
        while ((status = ddjvu_document_get_pageinfo(document_, index, &info)) < DDJVU_JOB_OK)
            handleMessages(true);
        if (status == DDJVU_JOB_OK)
            size = PageSize {info.height, info.dpi > 0 ? info.dpi : 300};
    }
    if (!size || size->height <= 0) {
        *damaged = true;
        return {};
    }
    const PageFrame frame {static_cast<double>(size->height), 72.0 / size->dpi};
    if (detail_ != Detail::Unknown)
        return pageText(index, detail_ == Detail::Lines ? "line" : "word", frame, damaged);
    // Where the layer's lines part their words by separators, as recognisers
    // write them, and the words are spaced evenly, a line's words are found
    // in its text. Some converters leave separators out, and the cells of a
    // table stand far apart: there only the words' own boxes tell. The first
    // pages with text are read both ways to tell which.
    std::vector<layout::Word> lines = pageText(index, "line", frame, damaged);
    if (lines.empty())
        return lines;
    std::vector<layout::Word> words = pageText(index, "word", frame, damaged);
    if (!sameLines(lines, words))
        detail_ = Detail::Words;
    else if (++pagesCompared_ == kPagesToCompare)
        detail_ = Detail::Lines;
    return words;
}

std::vector<layout::Word> DjvuDocument::pageText(int index, const char* detail, const PageFrame& frame,
                                                 bool* damaged) const
{
    miniexp_t text;
    while ((text = ddjvu_document_get_pagetext(document_, index, detail)) == miniexp_dummy)
        handleMessages(true);
    // A page without text gives the empty list; one that fails, a symbol.
    *damaged = miniexp_symbolp(text);
    std::vector<layout::Word> words;
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
