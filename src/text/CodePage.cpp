#include "text/CodePage.h"

#include "text/Utf8.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <clocale>
#include <cstdint>
#include <vector>

#ifdef _WIN32
#define NOMINMAX
#include <windows.h>
#else
#include <langinfo.h>
#endif

namespace leafmill {

namespace {

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter openConverter(const std::string& name, UErrorCode& status)
{
    return Converter(ucnv_open(name.c_str(), &status));
}

// True when ASCII, CR and LF come out of the converter as the same bytes.
bool isAsciiCompatible(UConverter* converter)
{
    std::u16string ascii;
    for (char16_t c = 0x20; c < 0x7F; ++c)
        ascii.push_back(c);
    ascii += u"\r\n\t";
    std::string bytes(ascii.size() * 4, '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t n
        = ucnv_fromUChars(converter, bytes.data(), static_cast<int32_t>(bytes.size()),
                          reinterpret_cast<const UChar*>(ascii.data()), static_cast<int32_t>(ascii.size()), &status);
    if (U_FAILURE(status) || n != static_cast<int32_t>(ascii.size()))
        return false;
    for (std::size_t i = 0; i < ascii.size(); ++i)
        if (static_cast<unsigned char>(bytes[i]) != ascii[i])
            return false;
    return true;
}

bool shiftsState(UConverterType type)
{
    switch (type) {
    case UCNV_ISO_2022:
    case UCNV_HZ:
    case UCNV_UTF7:
    case UCNV_IMAP_MAILBOX:
    case UCNV_SCSU:
    case UCNV_BOCU1:
    case UCNV_ISCII:
    case UCNV_EBCDIC_STATEFUL:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::shared_ptr<const CodePage> CodePage::open(std::string_view name, std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return std::shared_ptr<const CodePage>();
    };
    if (name.empty())
        return fail("no code page named");

    UErrorCode status = U_ZERO_ERROR;
    Converter converter = openConverter(std::string(name), status);
    if (U_FAILURE(status) || !converter)
        return fail("unknown code page \"" + std::string(name) + "\"");
    if (!isAsciiCompatible(converter.get()))
        return fail("code page \"" + std::string(name) + "\" is not ASCII-compatible");

    std::shared_ptr<CodePage> page(new CodePage);
    status = U_ZERO_ERROR;
    const char* canonical = ucnv_getName(converter.get(), &status);
    page->name_ = U_SUCCESS(status) && canonical ? canonical : std::string(name);

    page->stateful_ = shiftsState(ucnv_getType(converter.get()));
    const int maxSize = ucnv_getMaxCharSize(converter.get());
    if (ucnv_getType(converter.get()) == UCNV_UTF8) {
        page->kind_ = Kind::Utf8;
    } else if (maxSize == 1) {
        page->kind_ = Kind::SingleByte;
    } else if (maxSize == 2 && ucnv_getType(converter.get()) == UCNV_DBCS) {
        page->kind_ = Kind::Other;  // pure double-byte without single bytes: generic path
    } else if (maxSize == 2) {
        // A byte that yields no character on its own, without flushing, leads a
        // two-byte character.
        page->kind_ = Kind::DoubleByte;
        for (int b = 0; b < 256; ++b) {
            ucnv_reset(converter.get());
            char source[1] = {static_cast<char>(b)};
            const char* in = source;
            UChar target[4];
            UChar* out = target;
            UErrorCode st = U_ZERO_ERROR;
            ucnv_toUnicode(converter.get(), &out, target + 4, &in, source + 1, nullptr, false, &st);
            page->isLead_[static_cast<std::size_t>(b)] = U_SUCCESS(st) && out == target;
        }
    } else {
        page->kind_ = Kind::Other;
    }
    return page;
}

std::string CodePage::systemName()
{
#ifdef _WIN32
    return "cp" + std::to_string(GetACP());
#else
    std::string fallback = "windows-1252";
    const char* previous = std::setlocale(LC_CTYPE, nullptr);
    std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_CTYPE, ""))
        return fallback;
    std::string codeset = nl_langinfo(CODESET);
    std::setlocale(LC_CTYPE, saved.c_str());
    // The C locale reports plain ASCII; the program's files want an 8-bit page.
    if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "ASCII" || codeset == "US-ASCII")
        return fallback;
    std::string error;
    return open(codeset, &error) ? codeset : fallback;
#endif
}

namespace {

// Streams text from one converter to the other through a small pivot, so
// inputs of any size convert without 32-bit length limits; the pivot and the
// converters' state carry over from one piece of a text to the next.
class Conversion {
public:
    Conversion(UConverter* target, UConverter* source)
        : target_(target)
        , source_(source)
    {
    }

    // Empty when the converters fail.
    std::string run(std::string_view input, bool flush)
    {
        std::string out;
        out.resize(std::max<std::size_t>(input.size() + input.size() / 2, 64));
        char* outStart = out.data();
        char* outPos = outStart;
        const char* in = input.data();
        const char* inEnd = input.data() + input.size();
        for (;;) {
            UErrorCode status = U_ZERO_ERROR;
            // Feed the source in slices so that no length passed to ICU overflows.
            const char* sliceEnd = inEnd - in > (1 << 24) ? in + (1 << 24) : inEnd;
            ucnv_convertEx(target_, source_, &outPos, out.data() + out.size(), &in, sliceEnd, pivot_.data(),
                           &pivotSource_, &pivotTarget_, pivot_.data() + pivot_.size(), reset_,
                           flush && sliceEnd == inEnd, &status);
            reset_ = false;
            if (status == U_BUFFER_OVERFLOW_ERROR) {
                const std::size_t used = static_cast<std::size_t>(outPos - outStart);
                out.resize(out.size() * 2);
                outStart = out.data();
                outPos = outStart + used;
                continue;
            }
            if (U_FAILURE(status))
                return std::string();
            if (in == inEnd && sliceEnd == inEnd)
                break;
        }
        out.resize(static_cast<std::size_t>(outPos - outStart));
        return out;
    }

private:
    UConverter* target_;
    UConverter* source_;
    std::array<UChar, 8192> pivot_;
    UChar* pivotSource_ = pivot_.data();
    UChar* pivotTarget_ = pivot_.data();
    bool reset_ = true;
};

std::string convertAll(UConverter* target, UConverter* source, std::string_view input)
{
    return Conversion(target, source).run(input, true);
}

}  // namespace

std::string CodePage::fromUtf8(std::string_view utf8) const
{
    if (kind_ == Kind::Utf8) {
        // Valid sequences pass unchanged; each broken byte becomes '?'.
        std::string out;
        out.reserve(utf8.size());
        for (std::size_t i = 0; i < utf8.size();) {
            // Runs of ASCII, most of most texts, go on whole.
            std::size_t ascii = i;
            while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) < 0x80)
                ++ascii;
            if (ascii > i) {
                out.append(utf8.substr(i, ascii - i));
                i = ascii;
                continue;
            }
            const std::size_t length = validUtf8Length(utf8, i);
            if (length == 0) {
                out.push_back('?');
                ++i;
            } else {
                out.append(utf8.substr(i, length));
                i += length;
            }
        }
        return out;
    }

    UErrorCode status = U_ZERO_ERROR;
    Converter source = openConverter("UTF-8", status);
    Converter target = openConverter(name_, status);
    if (U_FAILURE(status))
        return std::string();
    ucnv_setSubstChars(target.get(), "?", 1, &status);
    return convertAll(target.get(), source.get(), utf8);
}

std::string CodePage::toUtf8(std::string_view bytes) const
{
    return decodeToUtf8(bytes, name_);
}

std::string decodeToUtf8(std::string_view bytes, const std::string& encoding)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter source = openConverter(encoding, status);
    Converter target = openConverter("UTF-8", status);
    if (U_FAILURE(status))
        return std::string();
    return convertAll(target.get(), source.get(), bytes);
}

struct Utf8Decoder::State {
    Converter source;
    Converter target;
    Conversion conversion;
};

Utf8Decoder::Utf8Decoder(const std::string& encoding)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter source = openConverter(encoding, status);
    Converter target = openConverter("UTF-8", status);
    if (U_FAILURE(status))
        return;
    UConverter* from = source.get();
    UConverter* to = target.get();
    state_.reset(new State {std::move(source), std::move(target), Conversion(to, from)});
}

Utf8Decoder::~Utf8Decoder() = default;

std::string Utf8Decoder::decode(std::string_view bytes, bool last)
{
    return state_ ? state_->conversion.run(bytes, last) : std::string();
}

std::size_t decodingErrors(std::string_view bytes, const std::string& encoding, bool mayBeCut)
{
    UErrorCode status = U_ZERO_ERROR;
    Converter decoder = openConverter(encoding, status);
    if (U_FAILURE(status))
        return SIZE_MAX;
    // Counts each sequence the converter cannot map, then lets it go on.
    struct Count {
        std::size_t errors = 0;
        static void onError(const void* context, UConverterToUnicodeArgs*, const char*, int32_t,
                            UConverterCallbackReason reason, UErrorCode* error)
        {
            if (reason <= UCNV_IRREGULAR) {
                ++static_cast<Count*>(const_cast<void*>(context))->errors;
                *error = U_ZERO_ERROR;
            }
        }
    } count;
    ucnv_setToUCallBack(decoder.get(), &Count::onError, &count, nullptr, nullptr, &status);
    std::array<UChar, 4096> target;
    const char* in = bytes.data();
    const char* end = bytes.data() + bytes.size();
    do {
        UChar* out = target.data();
        status = U_ZERO_ERROR;
        ucnv_toUnicode(decoder.get(), &out, target.data() + target.size(), &in, end, nullptr, !mayBeCut, &status);
    } while (status == U_BUFFER_OVERFLOW_ERROR);
    return U_SUCCESS(status) ? count.errors : SIZE_MAX;
}

std::size_t CodePage::charLength(std::string_view bytes, std::size_t pos) const
{
    const std::size_t left = bytes.size() - pos;
    if (left == 0)
        return 0;
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    std::size_t length = 1;
    switch (kind_) {
    case Kind::SingleByte:
        return 1;
    case Kind::Utf8: {
        if (lead >= 0xF0 && lead <= 0xF4)
            length = 4;
        else if (lead >= 0xE0)
            length = lead <= 0xEF ? 3 : 1;
        else if (lead >= 0xC2)
            length = 2;
        // A truncated or broken sequence counts byte by byte.
        for (std::size_t i = 1; i < length; ++i)
            if (i >= left || (static_cast<unsigned char>(bytes[pos + i]) & 0xC0) != 0x80)
                return 1;
        return length;
    }
    case Kind::DoubleByte:
        return isLead_[lead] && left >= 2 ? 2 : 1;
    case Kind::Other:
        return otherCharLength(bytes, pos);
    }
    return 1;
}

std::size_t CodePage::otherCharLength(std::string_view bytes, std::size_t pos) const
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter = openConverter(name_, status);
    if (U_FAILURE(status))
        return 1;
    const char* start = bytes.data() + pos;
    const char* source = start;
    ucnv_getNextUChar(converter.get(), &source, bytes.data() + bytes.size(), &status);
    std::size_t used = static_cast<std::size_t>(source - start);
    return used == 0 ? 1 : used;
}

std::size_t CodePage::boundaryAtOrBefore(std::string_view bytes, std::size_t pos) const
{
    if (pos >= bytes.size())
        return bytes.size();
    switch (kind_) {
    case Kind::SingleByte:
        return pos;
    case Kind::Utf8: {
        std::size_t start = pos;
        while (start > 0 && pos - start < 3 && (static_cast<unsigned char>(bytes[start]) & 0xC0) == 0x80)
            --start;
        // Only a real sequence covering pos moves the boundary back.
        return start + charLength(bytes, start) > pos ? start : pos;
    }
    case Kind::DoubleByte: {
        // The nearest byte before pos that cannot lead a character ends one;
        // walk forward from behind it.
        std::size_t start = pos;
        while (start > 0 && isLead_[static_cast<unsigned char>(bytes[start - 1])])
            --start;
        std::size_t at = start;
        while (at < pos) {
            std::size_t next = at + charLength(bytes, at);
            if (next > pos)
                return at;
            at = next;
        }
        return at;
    }
    case Kind::Other: {
        std::size_t at = 0;
        while (at < pos) {
            std::size_t next = at + otherCharLength(bytes, at);
            if (next > pos)
                return at;
            at = next;
        }
        return at;
    }
    }
    return pos;
}

}  // namespace leafmill
