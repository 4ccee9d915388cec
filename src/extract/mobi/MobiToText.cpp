#include "extract/mobi/MobiToText.h"

#include "extract/common/ByteOrder.h"
#include "extract/markup/BookText.h"
#include "extract/markup/EpubToc.h"
#include "extract/mobi/TagSoup.h"
#include "extract/package/PackageError.h"
#include "extract/package/PackageReading.h"
#include "extract/package/PartPath.h"
#include "extract/package/TextBuilder.h"
#include "extract/package/XmlDocument.h"
#include "text/CodePage.h"
#include "text/SourceEncoding.h"

#include <mobi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>

namespace leafmill::extract {

namespace {

using package::PackageError;

// libmobi reads from a stream; the book's bytes become one without a copy
// where the C library can (POSIX), else through an anonymous temporary file.
struct StreamClose {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using Stream = std::unique_ptr<std::FILE, StreamClose>;

Stream streamOf(std::string_view bytes)
{
#ifdef _WIN32
    Stream stream(std::tmpfile());
    if (stream
        && (std::fwrite(bytes.data(), 1, bytes.size(), stream.get()) != bytes.size()
            || std::fseek(stream.get(), 0, SEEK_SET) != 0))
        stream.reset();
    return stream;
#else
    return Stream(fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb"));
#endif
}

struct MobiFree {
    void operator()(MOBIData* m) const { mobi_free(m); }
    void operator()(MOBIRawml* r) const { mobi_free_rawml(r); }
};

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

void refuseWhatCannotBeRead(std::string_view bytes, const MOBIData* m)
{
    if (mobi_is_encrypted(m))
        throw PackageError(
            "the book is protected by DRM (its text is encrypted): only its seller's reader may open it");
    if (mobi_is_replica(m))
        throw PackageError("the book is a Kindle print replica (pictures of printed pages in a PDF), not a text book");
    // A book whose header promises more text than the file could hold is damaged.
    if (mobi_get_text_maxsize(m) > bytes.size() * 64 + 65536)
        throw PackageError("the book's header is damaged: it promises more text than the file holds");
}

std::optional<std::string> partText(const MOBIPart& part)
{
    return std::string(reinterpret_cast<const char*>(part.data), part.size);
}

// A PalmDOC book is plain text, without a word about its encoding.
Result palmText(const MOBIRawml& rawml, const Options& options)
{
    std::string bytes;
    for (const MOBIPart* part = rawml.markup; part; part = part->next)
        bytes.append(reinterpret_cast<const char*>(part->data), part->size);
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
std::string contentsPage(const MOBIRawml& rawml)
{
    for (const MOBIPart* part = rawml.resources; part; part = part->next) {
        if (part->type != T_OPF)
            continue;
        const package::XmlDocument opf(*partText(*part), "content.opf");
        for (pugi::xml_node reference : package::descendantsNamed(opf.root(), "reference"))
            if (package::attributeValue(reference, "type") == "toc")
                if (const auto link = package::resolveLink("content.opf", package::attributeValue(reference, "href")))
                    return link->part;
    }
    return {};
}

Result kindleText(const MOBIRawml& rawml, const Options& options)
{
    const bool xhtml = mobi_is_rawml_kf8(&rawml);
    std::map<std::string, const MOBIPart*> parts;
    std::vector<std::string> spine;
    const std::string contents = xhtml ? contentsPage(rawml) : std::string();
    for (const MOBIPart* part = rawml.markup; part; part = part->next) {
        if (part->type != T_HTML)
            continue;
        char name[32];
        std::snprintf(name, sizeof name, "part%05zu.html", part->uid);
        if (name == contents)
            continue;
        spine.push_back(name);
        parts[name] = part;
    }
    std::vector<std::string> warnings;
    epub::Toc toc;
    for (const MOBIPart* part = rawml.resources; part; part = part->next) {
        if (part->type != T_NCX)
            continue;
        try {
            toc = epub::readNcx(*partText(*part), "toc.ncx");
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
        const std::unique_ptr<MOBIData, MobiFree> m(mobi_init());
        const Stream stream = streamOf(bytes);
        if (!m || !stream)
            throw std::bad_alloc();
        if (mobi_load_file(m.get(), stream.get()) != MOBI_SUCCESS)
            throw PackageError("the file is no Kindle or Palm book, or it is damaged");
        refuseWhatCannotBeRead(bytes, m.get());
        const std::unique_ptr<MOBIRawml, MobiFree> rawml(mobi_init_rawml(m.get()));
        if (!rawml)
            throw std::bad_alloc();
        const MOBI_RET parsed = mobi_parse_rawml(rawml.get(), m.get());
        if (parsed == MOBI_MALLOC_FAILED)
            throw std::bad_alloc();
        if (parsed != MOBI_SUCCESS || !rawml->markup)
            throw PackageError("the book's text is damaged and cannot be unpacked");
        return mobi_is_mobipocket(m.get()) ? kindleText(*rawml, options) : palmText(*rawml, options);
    });
}

}  // namespace leafmill::extract
