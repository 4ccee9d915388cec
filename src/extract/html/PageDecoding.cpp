#include "extract/html/PageDecoding.h"

#include "extract/html/CharsetDeclarations.h"
#include "text/CodePage.h"
#include "text/Utf8.h"

#include <unicode/ucnv.h>

#include <cstdint>
#include <cstring>
#include <memory>

namespace leafmill::extract {

namespace {

enum class Utf8Form { Ascii, Utf8, NotUtf8 };

Utf8Form utf8Form(std::string_view bytes)
{
    bool beyondAscii = false;
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (bytes.size() - i >= 8) {
            std::uint64_t word;
            std::memcpy(&word, bytes.data() + i, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += 8;
                continue;
            }
        }
        const std::size_t length = validUtf8Length(bytes, i);
        if (length == 0)
            return Utf8Form::NotUtf8;
        beyondAscii = beyondAscii || length > 1;
        i += length;
    }
    return beyondAscii ? Utf8Form::Utf8 : Utf8Form::Ascii;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian)
{
    auto unitAt = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        char32_t unit = unitAt(i);
        if (isHighSurrogate(unit) && i + 3 < bytes.size()) {
            const char32_t trail = unitAt(i + 2);
            if (isLowSurrogate(trail)) {
                appendUtf8(fromSurrogates(unit, trail), out);
                i += 2;
                continue;
            }
        }
        appendUtf8(unit, out);  // a lone surrogate becomes U+FFFD
    }
    if (i < bytes.size())
        appendUtf8(0xFFFD, out);  // half a code unit at the end
    return out;
}

// Labels that pages use for a set whose everyday superset they mean, as
// browsers read them; anything else goes to the converter as written.
std::string_view converterName(std::string_view label)
{
    struct Alias {
        std::string_view label;
        std::string_view converter;
    };
    static constexpr Alias kAliases[] = {{"iso-8859-1", "windows-1252"},
                                         {"iso8859-1", "windows-1252"},
                                         {"latin1", "windows-1252"},
                                         {"l1", "windows-1252"},
                                         {"us-ascii", "windows-1252"},
                                         {"ascii", "windows-1252"},
                                         {"iso-8859-9", "windows-1254"},
                                         {"latin5", "windows-1254"},
                                         {"tis-620", "windows-874"},
                                         {"iso-8859-11", "windows-874"},
                                         {"gb2312", "GB18030"},
                                         {"gbk", "GB18030"},
                                         {"x-gbk", "GB18030"},
                                         {"gb_2312-80", "GB18030"},
                                         {"csgb2312", "GB18030"},
                                         {"euc-kr", "windows-949"},
                                         {"ks_c_5601-1987", "windows-949"},
                                         {"shift_jis", "windows-31j"},
                                         {"sjis", "windows-31j"},
                                         {"x-sjis", "windows-31j"},
                                         // A page whose <meta> can be read as ASCII is not UTF-16.
                                         {"utf-16", "UTF-8"},
                                         {"utf-16le", "UTF-8"},
                                         {"utf-16be", "UTF-8"}};
    for (const Alias& alias : kAliases) {
        if (alias.label == label)
            return alias.converter;
    }
    return label;
}

std::string decodeUtf8(std::string_view bytes, Utf8Form form)
{
    if (form != Utf8Form::NotUtf8)
        return std::string(bytes);
    // Each broken sequence becomes U+FFFD.
    const auto utf8 = CodePage::open("UTF-8");
    return utf8->toUtf8(bytes);
}

// The name people know a code page by ("windows-1252"), not ICU's own.
std::string displayName(const CodePage& page)
{
    UErrorCode status = U_ZERO_ERROR;
    const char* name = ucnv_getStandardName(page.name().c_str(), "IANA", &status);
    return U_SUCCESS(status) && name ? std::string(name) : page.name();
}

}  // namespace

std::string decodePage(std::string_view bytes, const CodePage& fallback, std::vector<std::string>& warnings)
{
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        const std::string_view body = bytes.substr(3);
        return decodeUtf8(body, utf8Form(body));
    }
    if (bytes.starts_with("\xFF\xFE"))
        return utf16ToUtf8(bytes.substr(2), false);
    if (bytes.starts_with("\xFE\xFF"))
        return utf16ToUtf8(bytes.substr(2), true);

    const Utf8Form form = utf8Form(bytes);
    const std::vector<std::string> declared = declaredCharsets(bytes);
    for (const std::string& label : declared) {
        const auto page = CodePage::open(converterName(label));
        if (!page) {
            warnings.push_back("the page declares the unknown character set \"" + label + "\"");
            continue;
        }
        if (page->isUtf8()) {
            if (form != Utf8Form::NotUtf8)
                return std::string(bytes);
            warnings.push_back("the page declares UTF-8, but its bytes are not UTF-8");
            continue;
        }
        if (form == Utf8Form::Utf8) {
            warnings.push_back("the page declares \"" + label + "\", but its bytes are UTF-8; it is read as UTF-8");
            return std::string(bytes);
        }
        return page->toUtf8(bytes);
    }
    // Text beyond ASCII that is valid UTF-8 is UTF-8 beyond reasonable doubt;
    // read in a legacy code page it would turn into other characters.
    if (form == Utf8Form::Utf8)
        return std::string(bytes);
    if (!declared.empty())
        warnings.push_back("the page is read in the program's code page, " + displayName(fallback));
    if (fallback.isUtf8())
        return decodeUtf8(bytes, form);
    return fallback.toUtf8(bytes);
}

}  // namespace leafmill::extract
