// The Kindle module: libmobi unpacks a book into its parts. The only file
// that includes libmobi.
#include "extract/common/ReaderModule.h"
#include "extract/mobi/KindleModule.h"

#include <mobi.h>

#include <cstdio>
#include <memory>
#include <new>

namespace leafmill::extract::mobi {

namespace {

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

struct Book {
    MOBIData* data = nullptr;
    MOBIRawml* rawml = nullptr;
    ~Book()
    {
        mobi_free_rawml(rawml);
        mobi_free(data);
    }
};

PartKind kindOf(MOBIFiletype type)
{
    switch (type) {
    case T_HTML:
        return PartKind::Html;
    case T_OPF:
        return PartKind::Opf;
    case T_NCX:
        return PartKind::Ncx;
    default:
        return PartKind::Other;
    }
}

std::vector<BookPart> partsOf(const MOBIPart* part)
{
    std::vector<BookPart> parts;
    for (; part; part = part->next)
        parts.push_back({kindOf(part->type), part->uid, {reinterpret_cast<const char*>(part->data), part->size}});
    return parts;
}

Unpacking unpackInto(std::string_view bytes, Book& book, UnpackedBook& out)
{
    book.data = mobi_init();
    const Stream stream = streamOf(bytes);
    if (!book.data || !stream)
        return Unpacking::OutOfMemory;
    if (mobi_load_file(book.data, stream.get()) != MOBI_SUCCESS)
        return Unpacking::NotABook;
    if (mobi_is_encrypted(book.data))
        return Unpacking::Encrypted;
    if (mobi_is_replica(book.data))
        return Unpacking::Replica;
    // A book whose header promises more text than the file could hold is damaged.
    if (mobi_get_text_maxsize(book.data) > bytes.size() * 64 + 65536)
        return Unpacking::PromisesTooMuch;
    book.rawml = mobi_init_rawml(book.data);
    if (!book.rawml)
        return Unpacking::OutOfMemory;
    const MOBI_RET parsed = mobi_parse_rawml(book.rawml, book.data);
    if (parsed == MOBI_MALLOC_FAILED)
        return Unpacking::OutOfMemory;
    if (parsed != MOBI_SUCCESS || !book.rawml->markup)
        return Unpacking::Damaged;
    out.mobipocket = mobi_is_mobipocket(book.data);
    out.kf8 = mobi_is_rawml_kf8(book.rawml);
    out.markup = partsOf(book.rawml->markup);
    out.resources = partsOf(book.rawml->resources);
    return Unpacking::Done;
}

Unpacking unpack(std::string_view bytes, UnpackedBook& out)
{
    try {
        auto book = std::make_unique<Book>();
        const Unpacking outcome = unpackInto(bytes, *book, out);
        if (outcome == Unpacking::Done)
            out.handle = book.release();
        return outcome;
    } catch (const std::bad_alloc&) {
        return Unpacking::OutOfMemory;
    }
}

void close(void* handle)
{
    delete static_cast<Book*>(handle);
}

}  // namespace

}  // namespace leafmill::extract::mobi

extern "C" LEAFMILL_MODULE_EXPORT const void* leafmill_kindle_module()
{
    using namespace leafmill::extract::mobi;
    static const KindleModule module {kindleModuleVersion, &unpack, &close};
    return &module;
}
