#include "text/LegacyEncodingGuess.h"

#include "text/AsciiCase.h"
#include "text/CodePage.h"

#include <uchardet.h>
#include <unicode/ucnv.h>

#include <memory>

namespace leafmill {

namespace {

struct DetectorCloser {
    void operator()(uchardet_t detector) const { uchardet_delete(detector); }
};

struct Alias {
    std::string_view detected;  // the detector's name, upper case
    std::string_view converter;
    std::string_view label;
};

// Where the detector names a subset, the everyday superset reads it (as
// browsers do); the rest are ICU's names in the spelling people know.
constexpr Alias kAliases[] = {
    {"EUC-KR", "windows-949", "EUC-KR"},
    {"UHC", "windows-949", "EUC-KR"},
    {"BIG5", "windows-950", "Big5"},
    {"TIS-620", "windows-874", "TIS-620"},
    {"ISO-8859-11", "windows-874", "TIS-620"},
    {"SHIFT_JIS", "Shift_JIS", "Shift_JIS"},
    {"EUC-JP", "EUC-JP", "EUC-JP"},
    {"EUC-TW", "EUC-TW", "EUC-TW"},
    {"HZ-GB-2312", "HZ", "HZ-GB-2312"},
    {"MAC-CYRILLIC", "x-mac-cyrillic", "MacCyrillic"},
    {"MAC-CENTRALEUROPE", "x-mac-centraleurroman", "MacCentralEurope"},
    {"IBM855", "IBM855", "IBM855"},
    {"IBM866", "IBM866", "IBM866"},
    {"IBM852", "IBM852", "IBM852"},
    {"ISO-2022-JP", "ISO-2022-JP", "ISO-2022-JP"},
    {"ISO-2022-KR", "ISO-2022-KR", "ISO-2022-KR"},
    {"ISO-2022-CN", "ISO-2022-CN", "ISO-2022-CN"},
    {"KOI8-R", "KOI8-R", "KOI8-R"},
    {"GB18030", "GB18030", "GB18030"},
    {"ASCII", "", ""},
    {"UTF-8", "UTF-8", "UTF-8"},
    {"", "", ""},
};

// KOI8-U is KOI8-R with Ukrainian letters where KOI8-R has box-drawing
// pieces, which no prose uses.
bool holdsUkrainianLetters(std::string_view bytes)
{
    return bytes.find_first_of("\xA4\xA6\xA7\xAD\xB4\xB6\xB7\xBD") != std::string_view::npos;
}

}  // namespace

NamedEncoding guessLegacyEncoding(std::string_view sample)
{
    const std::unique_ptr<uchardet, DetectorCloser> detector(uchardet_new());
    if (!detector || uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0)
        return {};
    uchardet_data_end(detector.get());
    const char* detected = uchardet_get_charset(detector.get());
    std::string name = detected ? detected : "";
    for (char& c : name)
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);

    NamedEncoding guess {name, name};
    for (const Alias& alias : kAliases)
        if (alias.detected == name)
            guess = {std::string(alias.converter), std::string(alias.label)};
    if (name.starts_with("WINDOWS-"))
        guess.label = asciiLowered(name);
    // Most "GB18030" texts are GBK, the name people know them by; a Big5
    // text may hold the Hong Kong characters.
    const auto fewerErrors = [&](const char* narrower, const char* wider) {
        return decodingErrors(sample, narrower, true) <= decodingErrors(sample, wider, true);
    };
    if (name == "GB18030" && fewerErrors("windows-936", "GB18030"))
        guess = {"windows-936", "GBK"};
    if (name == "BIG5" && !fewerErrors("windows-950", "Big5-HKSCS"))
        guess = {"Big5-HKSCS", "Big5-HKSCS"};
    if (name == "KOI8-R" && holdsUkrainianLetters(sample))
        guess = {"KOI8-U", "KOI8-U"};

    UErrorCode status = U_ZERO_ERROR;
    UConverter* converter = guess.converter.empty() ? nullptr : ucnv_open(guess.converter.c_str(), &status);
    if (!converter || U_FAILURE(status))
        return {};
    ucnv_close(converter);
    return guess;
}

}  // namespace leafmill
