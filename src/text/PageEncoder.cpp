#include "text/PageEncoder.h"

#include "text/AsciiCase.h"
#include "text/CodePage.h"
#include "text/StandardTables.h"
#include "text/Utf8.h"

#include <unicode/translit.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/uniset.h>
#include <unicode/unistr.h>
#include <unicode/usetiter.h>
#include <unicode/utf8.h>

#include <array>
#include <cctype>

namespace leafmill {

namespace {

constexpr std::size_t kShownReplacements = 5;

struct Alias {
    std::string_view name;
    std::string_view converter;
};

// The Asian converters map the vendors' additions too; StandardTables.h keeps
// the pages to the standard.
constexpr std::array<Alias, 7> kAliases = {{
    {"latin-1", "ISO-8859-1"},
    {"macroman", "macintosh"},
    {"gb2312", "GB2312"},
    {"big5", "Big5"},
    {"shift_jis", "Shift_JIS"},
    {"euc-kr", "EUC-KR"},
    {"utf-8", "UTF-8"},
}};

struct ConverterCloser {
    void operator()(UConverter* c) const { ucnv_close(c); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Controls show as nothing the reader can draw; tab and the line ends do their work.
bool isShownControl(UChar32 c)
{
    return (c < 0x20 && c != '\t' && c != '\r' && c != '\n') || (c >= 0x7F && c <= 0x9F);
}

}  // namespace

void Replacements::add(std::string_view utf8Character)
{
    if (++count <= kShownReplacements)
        first.append(utf8Character);
}

std::string PageEncoder::converterName(std::string_view name)
{
    const std::string key = asciiLowered(name);
    for (const Alias& alias : kAliases)
        if (key == alias.name)
            return std::string(alias.converter);
    return std::string(name);
}

std::string PageEncoder::readerEncodingName(std::string_view name)
{
    const std::string converter = converterName(name);
    for (std::string_view offered : kPageEncodingNames)
        if (converter == converterName(offered) && offered != "UTF-8")
            return std::string(offered);
    return "Latin-1";
}

// The characters the encoding keeps, and the transforms for the rest. The
// transforms take tens of milliseconds to build, so they are built when a
// character first needs them, not when the settings are read.
struct PageEncoder::Transforms {
    icu::UnicodeSet kept;
    std::unique_ptr<icu::Transliterator> transform;
    bool built = false;

    icu::Transliterator* transliterator();
};

PageEncoder::~PageEncoder() = default;

std::shared_ptr<const PageEncoder> PageEncoder::open(std::string_view name, std::string* error)
{
    std::shared_ptr<const CodePage> codePage = CodePage::open(converterName(name), error);
    if (!codePage)
        return {};
    std::shared_ptr<PageEncoder> encoder(new PageEncoder);
    encoder->name_ = std::string(name);
    encoder->codePage_ = std::move(codePage);
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(encoder->codePage_->name().c_str(), &status));
    encoder->icu_ = std::make_unique<Transforms>();
    icu::UnicodeSet& kept = encoder->icu_->kept;
    if (U_SUCCESS(status))
        ucnv_getUnicodeSet(converter.get(), kept.toUSet(), UCNV_ROUNDTRIP_SET, &status);
    const StandardTable* standard = StandardTable::of(name);
    if (U_SUCCESS(status) && standard) {
        icu::UnicodeSet outside;
        for (icu::UnicodeSetIterator it(kept); it.next();) {
            const UChar32 c = it.getCodepoint();
            const icu::UnicodeString one(c);
            char bytes[8];
            UErrorCode oneStatus = U_ZERO_ERROR;
            const int32_t length
                = ucnv_fromUChars(converter.get(), bytes, sizeof bytes, one.getBuffer(), one.length(), &oneStatus);
            // Characters for private use stand in the converters' free cells, not in any standard.
            if (c >= 0x80
                && (U_FAILURE(oneStatus) || u_charType(c) == U_PRIVATE_USE_CHAR
                    || !standard->holds(std::string_view(bytes, static_cast<std::size_t>(length)))))
                outside.add(c);
        }
        kept.removeAll(outside);
    }
    kept.freeze();
    return encoder;
}

// Called with transformLock_ held. Without the transforms (an ICU built
// without their data) every character the encoding lacks becomes '?'.
icu::Transliterator* PageEncoder::Transforms::transliterator()
{
    if (!built) {
        built = true;
        // Letters of other scripts are spelt in Latin first, then whatever is
        // left beyond ASCII (quotes, dashes, accents) is reduced.
        // Bullets and the euro sign have no Latin-ASCII form of their own.
        const icu::UnicodeString rules = icu::UnicodeString::fromUTF8(
            "::Any-Latin; ::Latin-ASCII; [\\u2022\\u2023\\u25E6\\u2043\\u2219] > '*'; \\u20AC > EUR;");
        UParseError parseError;
        UErrorCode status = U_ZERO_ERROR;
        transform.reset(
            icu::Transliterator::createFromRules("leafmill-pages", rules, UTRANS_FORWARD, parseError, status));
        if (U_FAILURE(status))
            transform.reset();
    }
    return transform.get();
}

std::string PageEncoder::equivalent(std::u16string_view run) const
{
    icu::UnicodeString copy(reinterpret_cast<const UChar*>(run.data()), static_cast<int32_t>(run.size()));
    {
        const std::lock_guard<std::mutex> lock(transformLock_);
        if (icu::Transliterator* transliterator = icu_->transliterator())
            transliterator->transliterate(copy);
    }
    std::string out;
    for (int32_t i = 0; i < copy.length();) {
        const UChar32 c = copy.char32At(i);
        const int32_t size = U16_LENGTH(c);
        if (icu_->kept.contains(c)) {
            std::string utf8;
            copy.tempSubString(i, size).toUTF8String(utf8);
            out += codePage_->fromUtf8(utf8);
        } else {
            out.push_back('?');
        }
        i += size;
    }
    return out;
}

std::string PageEncoder::encode(std::string_view utf8, Replacements* replaced) const
{
    if (codePage_->isUtf8())
        return codePage_->fromUtf8(utf8);
    std::string out;
    out.reserve(utf8.size());
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int64_t>(utf8.size());
    int64_t keptFrom = 0;
    int64_t at = 0;
    auto flushKept = [&](int64_t until) {
        if (until > keptFrom)
            out += codePage_->fromUtf8(
                utf8.substr(static_cast<std::size_t>(keptFrom), static_cast<std::size_t>(until - keptFrom)));
    };
    while (at < length) {
        const int64_t start = at;
        UChar32 c = 0;
        // ICU's macro takes 32-bit offsets; it only looks a few bytes ahead.
        int32_t step = 0;
        const int32_t window = static_cast<int32_t>(std::min<int64_t>(length - at, 4));
        U8_NEXT(bytes + at, step, window, c);
        at += step;
        if (c >= 0 && icu_->kept.contains(c))
            continue;
        flushKept(start);
        // The run of characters the encoding lacks goes through the
        // transforms together, so that context (a word in another script) helps.
        std::u16string run;
        int64_t runEnd = start;
        for (int64_t next = start; next < length;) {
            UChar32 d = 0;
            int32_t s = 0;
            const int32_t w = static_cast<int32_t>(std::min<int64_t>(length - next, 4));
            U8_NEXT(bytes + next, s, w, d);
            if (d >= 0 && icu_->kept.contains(d))
                break;
            if (replaced)
                replaced->add(d >= 0 ? utf8.substr(static_cast<std::size_t>(next), static_cast<std::size_t>(s)) : "?");
            if (d < 0) {
                d = u'?';
            }
            if (d > 0xFFFF) {
                run.push_back(static_cast<char16_t>(U16_LEAD(d)));
                run.push_back(static_cast<char16_t>(U16_TRAIL(d)));
            } else {
                run.push_back(static_cast<char16_t>(d));
            }
            next += s;
            runEnd = next;
        }
        out += equivalent(run);
        at = runEnd;
        keptFrom = runEnd;
    }
    flushKept(length);
    return out;
}

std::string PageEncoder::fit(std::string_view utf8, Replacements* replaced) const
{
    return codePage_->isUtf8() ? codePage_->fromUtf8(utf8) : codePage_->toUtf8(encode(utf8, replaced));
}

std::string PageEncoder::decode(std::string_view bytes, DecodeFaults* faults) const
{
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(codePage_->name().c_str(), &status));
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &status);
    std::string text;
    text.reserve(bytes.size());
    const char* at = bytes.data();
    const char* end = bytes.data() + bytes.size();
    while (U_SUCCESS(status) && at < end) {
        const char* start = at;
        UErrorCode step = U_ZERO_ERROR;
        UChar32 c = ucnv_getNextUChar(converter.get(), &at, end, &step);
        if (at == start)
            at = start + 1;
        if (U_FAILURE(step) || !icu_->kept.contains(c) || isShownControl(c)) {
            if (faults && faults->count == 0)
                faults->first = static_cast<std::size_t>(start - bytes.data());
            if (faults)
                faults->count += static_cast<std::size_t>(at - start);
            if (U_FAILURE(step))
                ucnv_resetToUnicode(converter.get());
            c = 0xFFFD;
        }
        appendUtf8(static_cast<char32_t>(c), text);
    }
    return text;
}

}  // namespace leafmill
