#include "extract/mobi/MobiToText.h"

#include "extract/common/ByteOrder.h"
#include "extract/common/ReaderModule.h"
#include "extract/markup/BookText.h"
#include "extract/markup/EpubToc.h"
#include "extract/mobi/KindleModule.h"
#include "extract/mobi/TagSoup.h"
#include "extract/package/PackageError.h"
#include "extract/package/PackageReading.h"
#include "extract/package/PartPath.h"
#include "extract/package/TextBuilder.h"
#include "extract/package/XmlDocument.h"
#include "text/CodePage.h"
#include "text/SourceEncoding.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>

namespace leafmill::extract {

namespace {

using package::PackageError;

constexpr std::size_t kHeaderSize = 78;
// An index's first record, up to its total entry count.
constexpr std::size_t kIndexHeaderSize = 40;

// The library sizes each record by the offsets of the record list and
// allocates that much before it reads: a list whose offsets leave the file,
// or go back, would have it ask for gigabytes.
void checkRecordList(std::string_view bytes)
{
    const std::size_t count = bigEndian(bytes, 76, 2);
    if (kHeaderSize + count * 8 > bytes.size())
        throw PackageError("the book is damaged: its record list runs past the end of the file");
    for (std::size_t k = 0, previous = 0; k < count; ++k) {
        const std::size_t offset = bigEndian(bytes, kHeaderSize + k * 8, 4);
        if (offset < previous || offset > bytes.size())
            throw PackageError("the book is damaged: its record list points outside the file");
        previous = offset;
    }
}

// The library makes room for all of an index's entries, as many as its first
// record declares, before it reads one: a count past what the file could
// hold (each entry takes at least three bytes) would have it ask for
// gigabytes.
void checkIndexSizes(std::string_view bytes)
{
    const std::size_t count = bigEndian(bytes, 76, 2);
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t start = bigEndian(bytes, kHeaderSize + k * 8, 4);
        const std::size_t end = k + 1 < count ? bigEndian(bytes, kHeaderSize + (k + 1) * 8, 4) : bytes.size();
        const std::string_view record = bytes.substr(start, end - start);
        if (record.size() < kIndexHeaderSize || !record.starts_with("INDX"))
            continue;
        const std::size_t headerLength = bigEndian(record, 4, 4);
        if (record.substr(std::min(headerLength, record.size())).starts_with("TAGX")
            && bigEndian(record, 36, 4) > bytes.size() / 3)
            throw PackageError("the book is damaged: one of its indexes declares more entries than the file holds");
    }
}

// The Kindle module, loaded on the first call; null with `failure` set
// when there is none.
const mobi::KindleModule* kindleModule(std::string& failure)
{
    static constexpr ReaderModuleName name {"leafmill-kindle", "leafmill_kindle_module", "Kindle reader",
                                            mobi::kindleModuleVersion};
    static const LoadedReaderModule loaded = loadReaderModule(name, readerModulePlaces(name));
    failure = loaded.failure;
    return static_cast<const mobi::KindleModule*>(loaded.table);
}

// Closes the module's book when the reading ends.
class BookClose {
public:
    BookClose(const mobi::KindleModule& module, const mobi::UnpackedBook& book)
        : module_(module)
        , book_(book)
    {
    }
    ~BookClose() { module_.close(book_.handle); }
    BookClose(const BookClose&) = delete;
    BookClose& operator=(const BookClose&) = delete;

private:
    const mobi::KindleModule& module_;
    const mobi::UnpackedBook& book_;
};

void refuseWhatCannotBeRead(mobi::Unpacking outcome)
{
    switch (outcome) {
    case mobi::Unpacking::Done:
        return;
    case mobi::Unpacking::NotABook:
        throw PackageError("the file is no Kindle or Palm book, or it is damaged");
    case mobi::Unpacking::Encrypted:
        throw PackageError(
            "the book is protected by DRM (its text is encrypted): only its seller's reader may open it");
    case mobi::Unpacking::Replica:
        throw PackageError("the book is a Kindle print replica (pictures of printed pages in a PDF), not a text book");
    case mobi::Unpacking::PromisesTooMuch:
        throw PackageError("the book's header is damaged: it promises more text than the file holds");
    case mobi::Unpacking::Damaged:
        throw PackageError("the book's text is damaged and cannot be unpacked");
    case mobi::Unpacking::OutOfMemory:
        throw std::bad_alloc();
    }
}

std::optional<std::string> partText(const mobi::BookPart& part)
{
    return std::string(part.bytes);
}

// A PalmDOC book is plain text, without a word about its encoding.
Result palmText(const mobi::UnpackedBook& book, const Options& options)
{
    std::string bytes;
    for (const mobi::BookPart& part : book.markup)
        bytes.append(part.bytes);
    std::shared_ptr<const CodePage> ownPage;
    const CodePage* codePage = options.codePage;
    if (!codePage) {
        ownPage = CodePage::open(CodePage::systemName());
        if (!ownPage)
            throw PackageError("no code page to read the book in");
        codePage = ownPage.get();
    }
    const SourceEncoding encoding
        = chooseSourceEncoding(std::string_view(bytes).substr(0, kEncodingSample), *codePage, options.sourceEncoding);
    const std::string text = decodeSource(bytes, encoding);
    package::TextBuilder out;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        out.append(std::string_view(text).substr(at, end - at), package::TextBuilder::Space::Preserve);
        out.lineBreak();
        out.handOn(options);
        at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    if (out.size() == 0)
        throw PackageError("the book holds no text");
    Result result = out.take();
    if (!encoding.isCodePage)
        result.readAs = encoding.encoding.label;
    return result;
}

// The part the book's guide names as its table of contents: a page of links
// that the book's contents note repeats.
std::string contentsPage(const mobi::UnpackedBook& book)
{
    for (const mobi::BookPart& part : book.resources) {
        if (part.kind != mobi::PartKind::Opf)
            continue;
        const package::XmlDocument opf(*partText(part), "content.opf");
        for (pugi::xml_node reference : package::descendantsNamed(opf.root(), "reference"))
            if (package::attributeValue(reference, "type") == "toc")
                if (const auto link = package::resolveLink("content.opf", package::attributeValue(reference, "href")))
                    return link->part;
    }
    return {};
}

Result kindleText(const mobi::UnpackedBook& book, const Options& options)
{
    const bool xhtml = book.kf8;
    std::map<std::string, const mobi::BookPart*> parts;
    std::vector<std::string> spine;
    const std::string contents = xhtml ? contentsPage(book) : std::string();
    for (const mobi::BookPart& part : book.markup) {
        if (part.kind != mobi::PartKind::Html)
            continue;
        char name[32];
        std::snprintf(name, sizeof name, "part%05zu.html", part.uid);
        if (name == contents)
            continue;
        spine.push_back(name);
        parts[name] = &part;
    }
    std::vector<std::string> warnings;
    epub::Toc toc;
    for (const mobi::BookPart& part : book.resources) {
        if (part.kind != mobi::PartKind::Ncx)
            continue;
        try {
            toc = epub::readNcx(*partText(part), "toc.ncx");
        } catch (const PackageError& error) {
            warnings.push_back(std::string("the table of contents was left out: ") + error.what());
        }
        break;
    }
    const auto read = [&](const std::string& name) -> std::optional<std::string> {
        const auto found = parts.find(name);
        if (found == parts.end())
            return std::nullopt;
        std::optional<std::string> text = partText(*found->second);
        return xhtml ? text : mobi::wellFormed(*text);
    };
    return epub::bookText(read, spine, toc, std::move(warnings), options);
}

}  // namespace

Result mobiToText(std::string_view bytes, const Options& options)
{
    return package::readGuarded([&] {
        if (bytes.starts_with("TPZ"))
            throw PackageError("the book is in Amazon's Topaz format, which keeps its text as drawn letters: there is "
                               "no text to read");
        if (bytes.size() < kHeaderSize)
            throw PackageError("the file is too short to be a Kindle or Palm book");
        checkRecordList(bytes);
        checkIndexSizes(bytes);
        std::string failure;
        const mobi::KindleModule* module = kindleModule(failure);
        if (module == nullptr)
            throw PackageError(failure);
        mobi::UnpackedBook book;
        const mobi::Unpacking outcome = module->unpack(bytes, book);
        refuseWhatCannotBeRead(outcome);
        const BookClose closing(*module, book);
        return book.mobipocket ? kindleText(book, options) : palmText(book, options);
    });
}

}  // namespace leafmill::extract
