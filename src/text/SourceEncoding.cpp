#include "text/SourceEncoding.h"

#include "text/AsciiCase.h"
#include "text/CodePage.h"
#include "text/LatinOddity.h"
#include "text/Utf8.h"
#include "text/WideTextPattern.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <unicode/uscript.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <vector>

namespace leafmill {

namespace {

// Fewer bytes beyond ASCII than this are too few to overrule the code page.
constexpr std::size_t kLeastEvidence = 8;
// A Latin reading is believed when its oddity stays below this share of the
// bytes beyond ASCII (one in four).
constexpr std::size_t kOddityPerByte = 4;
// So many bytes beyond ASCII tell the pages apart; the rest of the sample
// is not read in each of them.
constexpr std::size_t kEnoughEvidence = 512;
// A multi-byte guess may leave this share of its bytes beyond ASCII undecoded
// (one in fifty): texts put together from pieces hold a few broken ones.
constexpr std::size_t kBrokenPerByte = 50;

struct Mark {
    std::string_view bytes;
    std::string_view encoding;
};

// UTF-32LE first: its mark begins with the UTF-16LE one.
constexpr std::array<Mark, 5> kMarks = {{
    {std::string_view("\xFF\xFE\0\0", 4), "UTF-32LE"},
    {std::string_view("\0\0\xFE\xFF", 4), "UTF-32BE"},
    {"\xEF\xBB\xBF", "UTF-8"},
    {"\xFF\xFE", "UTF-16LE"},
    {"\xFE\xFF", "UTF-16BE"},
}};

struct LatinPage {
    std::string_view converter;
    std::string_view label;
};

// The Latin code pages a Latin text is tried in, the likelier first: where
// two read a text equally well, the first is taken. ISO-8859-1 and -9 read
// their texts as windows-1252 and -1254 do.
constexpr std::array<LatinPage, 14> kLatinPages = {{
    {"windows-1252", "windows-1252"},
    {"ISO-8859-15", "ISO-8859-15"},
    {"windows-1250", "windows-1250"},
    {"ISO-8859-2", "ISO-8859-2"},
    {"windows-1257", "windows-1257"},
    {"ISO-8859-13", "ISO-8859-13"},
    {"ISO-8859-4", "ISO-8859-4"},
    {"windows-1254", "windows-1254"},
    {"macintosh", "MacRoman"},
    {"windows-1258", "windows-1258"},
    {"IBM852", "IBM852"},
    {"x-mac-centraleurroman", "MacCentralEurope"},
    {"ISO-8859-3", "ISO-8859-3"},
    {"ISO-8859-10", "ISO-8859-10"},
}};

// ICU's own name for an encoding; empty when ICU has none.
std::string canonicalName(std::string_view name)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = ucnv_open(std::string(name).c_str(), &status);
    if (U_FAILURE(status) || !converter)
        return {};
    const char* canonical = ucnv_getName(converter, &status);
    std::string result = U_SUCCESS(status) && canonical ? canonical : std::string(name);
    ucnv_close(converter);
    return result;
}

bool isMultiByte(const std::string& converter)
{
    UErrorCode status = U_ZERO_ERROR;
    UConverter* opened = ucnv_open(converter.c_str(), &status);
    const bool multi = U_SUCCESS(status) && ucnv_getMaxCharSize(opened) > 1;
    ucnv_close(opened);
    return multi;
}

SourceEncoding readIn(NamedEncoding encoding, std::size_t markSize, const CodePage& codePage)
{
    const bool isCodePage = canonicalName(encoding.converter) == codePage.name();
    return {std::move(encoding), markSize, isCodePage};
}

// The name people know a code page by ("windows-1252"), not ICU's own.
SourceEncoding ofCodePage(const CodePage& codePage)
{
    UErrorCode status = U_ZERO_ERROR;
    const char* known = ucnv_getStandardName(codePage.name().c_str(), "IANA", &status);
    return {{codePage.name(), U_SUCCESS(status) && known ? known : codePage.name()}, 0, true};
}

// The text up to its last line end, which no character straddles.
std::string_view wholeLines(std::string_view head)
{
    const std::size_t end = head.find_last_of('\n');
    return end == std::string_view::npos ? head : head.substr(0, end + 1);
}

std::size_t bytesBeyondAscii(std::string_view bytes)
{
    return static_cast<std::size_t>(
        std::count_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
}

// The start of the sample up to a line end past kEnoughEvidence bytes beyond
// ASCII, or all of it.
std::string_view evidence(std::string_view head)
{
    std::size_t seen = 0;
    for (std::size_t at = 0; at < head.size(); ++at) {
        if (static_cast<unsigned char>(head[at]) >= 0x80 && ++seen == kEnoughEvidence) {
            const std::size_t end = head.find('\n', at);
            return end == std::string_view::npos ? head : head.substr(0, end + 1);
        }
    }
    return head;
}

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// In Latin text a byte beyond ASCII is mostly one accented letter inside a
// word of ASCII letters; Cyrillic, Greek, Hebrew or Arabic words are runs of
// such bytes.
bool looksLatin(std::string_view bytes)
{
    std::size_t beyond = 0;
    std::size_t besideLetters = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80)
            continue;
        ++beyond;
        if ((i > 0 && isAsciiLetter(bytes[i - 1])) || (i + 1 < bytes.size() && isAsciiLetter(bytes[i + 1])))
            ++besideLetters;
    }
    return besideLetters * 2 > beyond;
}

// Whether most letters beyond ASCII of the reading are Latin ones.
bool readsAsLatin(std::string_view bytes, const std::string& converter)
{
    const std::string text = decodeToUtf8(bytes, converter);
    std::size_t letters = 0;
    std::size_t latin = 0;
    const auto* data = reinterpret_cast<const uint8_t*>(text.data());
    const auto size = static_cast<int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
    for (int32_t at = 0; at < size;) {
        UChar32 c = 0;
        U8_NEXT(data, at, size, c);
        if (c < 0x80 || !u_isalpha(c))
            continue;
        ++letters;
        UErrorCode status = U_ZERO_ERROR;
        latin += uscript_getScript(c, &status) == USCRIPT_LATIN ? 1 : 0;
    }
    return latin * 2 > letters;
}

struct LegacyChoice {
    NamedEncoding encoding;
    bool sure = false;
};

// The Latin code page the text reads best in.
LegacyChoice bestLatinPage(std::string_view head, const NamedEncoding& guess)
{
    // The detector knows languages, not just letters: where pages read a
    // text equally well, its guess among them is taken, if it had enough to
    // go on.
    std::vector<NamedEncoding> candidates;
    const std::string guessed = canonicalName(guess.converter);
    const bool trusted = bytesBeyondAscii(head) >= kLeastEvidence;
    for (const LatinPage& page : kLatinPages) {
        NamedEncoding candidate {std::string(page.converter), std::string(page.label)};
        if (trusted && canonicalName(page.converter) == guessed)
            candidates.insert(candidates.begin(), std::move(candidate));
        else
            candidates.push_back(std::move(candidate));
    }
    LegacyChoice best;
    std::size_t bestOddity = SIZE_MAX;
    for (const NamedEncoding& page : candidates) {
        const std::size_t oddity = latinOddity(decodeToUtf8(head, page.converter));
        if (oddity < bestOddity) {
            best.encoding = page;
            bestOddity = oddity;
        }
    }
    best.sure = bestOddity * kOddityPerByte <= bytesBeyondAscii(head);
    return best;
}

bool mostlyDecodes(std::string_view head, const std::string& converter)
{
    const std::string_view lines = wholeLines(head);
    const std::size_t errors = decodingErrors(lines, converter, false);
    return errors != SIZE_MAX && errors * kBrokenPerByte <= bytesBeyondAscii(lines);
}

// Bytes that are not UTF-8: the detector names an encoding, which is taken
// when its bytes decode and it writes a script other than Latin; Latin
// letters (and whatever the detector cannot place) go to the Latin contest.
LegacyChoice legacyEncoding(std::string_view head)
{
    const NamedEncoding guess = guessLegacyEncoding(head);
    const std::string_view sample = evidence(head);
    if (!guess.converter.empty()) {
        if (isMultiByte(guess.converter)) {
            if (mostlyDecodes(head, guess.converter))
                return {guess, true};
        } else if (!looksLatin(sample) && !readsAsLatin(sample, guess.converter)) {
            return {guess, true};
        }
    }
    return bestLatinPage(sample, guess);
}

// A 7-bit text that shifts into another character set: ISO-2022 or HZ.
NamedEncoding shiftedEncoding(std::string_view head)
{
    if (head.find("\x1B$") == std::string_view::npos && head.find("\x1B(") == std::string_view::npos
        && head.find("~{") == std::string_view::npos)
        return {};
    NamedEncoding guess = guessLegacyEncoding(head);
    if (guess.label.starts_with("ISO-2022") || guess.label == "HZ-GB-2312")
        return guess;
    return {};
}

}  // namespace

SourceEncoding markedEncoding(std::string_view head, const CodePage& codePage)
{
    for (const Mark& mark : kMarks)
        if (head.starts_with(mark.bytes))
            return readIn({std::string(mark.encoding), std::string(mark.encoding)}, mark.bytes.size(), codePage);
    return {};
}

SourceEncoding detectSourceEncoding(std::string_view head, const CodePage& codePage)
{
    head = head.substr(0, kEncodingSample);
    if (SourceEncoding marked = markedEncoding(head, codePage); marked.markSize > 0)
        return marked;
    // No legacy text holds a zero byte.
    if (head.find('\0') != std::string_view::npos) {
        NamedEncoding wide = unmarkedWideEncoding(head);
        return wide.converter.empty() ? ofCodePage(codePage) : readIn(std::move(wide), 0, codePage);
    }
    switch (utf8Form(head, head.size() == kEncodingSample)) {
    case Utf8Form::Utf8:
        return readIn({"UTF-8", "UTF-8"}, 0, codePage);
    case Utf8Form::Ascii: {
        NamedEncoding shifted = shiftedEncoding(head);
        return shifted.converter.empty() ? ofCodePage(codePage) : readIn(std::move(shifted), 0, codePage);
    }
    case Utf8Form::NotUtf8:
        break;
    }
    const LegacyChoice legacy = legacyEncoding(head);
    // Where the code page reads the text, it decides unless the guess is
    // sure, has enough to go on and reads it otherwise.
    const std::string_view sample = wholeLines(evidence(head));
    if (decodingErrors(head, codePage.name(), head.size() == kEncodingSample) == 0
        && (!legacy.sure || bytesBeyondAscii(head) < kLeastEvidence
            || decodeToUtf8(sample, codePage.name()) == decodeToUtf8(sample, legacy.encoding.converter)))
        return ofCodePage(codePage);
    return legacy.encoding.converter.empty() ? ofCodePage(codePage) : readIn(legacy.encoding, 0, codePage);
}

SourceEncoding chooseSourceEncoding(std::string_view head, const CodePage& codePage, std::string_view choice)
{
    if (choice.empty() || equalsNoCase(choice, kDetectEncoding))
        return detectSourceEncoding(head, codePage);
    const std::string chosen = canonicalName(choice);
    std::size_t markSize = 0;
    for (const Mark& mark : kMarks)
        if (head.starts_with(mark.bytes) && canonicalName(mark.encoding) == chosen) {
            markSize = mark.bytes.size();
            break;
        }
    return readIn({std::string(choice), std::string(choice)}, markSize, codePage);
}

std::string decodeSource(std::string_view bytes, const SourceEncoding& encoding)
{
    return composedSource(
        decodeToUtf8(bytes.substr(std::min(encoding.markSize, bytes.size())), encoding.encoding.converter), encoding);
}

std::string composedSource(std::string text, const SourceEncoding& encoding)
{
    if (canonicalName(encoding.encoding.converter) != canonicalName("windows-1258"))
        return text;
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* composer = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        return text;
    const icu::UnicodeString composed = composer->normalize(icu::UnicodeString::fromUTF8(text), status);
    if (U_FAILURE(status))
        return text;
    text.clear();
    composed.toUTF8String(text);
    return text;
}

std::string sourceEncodingProblem(std::string_view choice)
{
    if (choice.empty() || equalsNoCase(choice, kDetectEncoding) || !canonicalName(choice).empty())
        return {};
    return "\"" + std::string(choice) + "\" is no encoding this program knows";
}

}  // namespace leafmill
