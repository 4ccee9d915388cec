#include "text/LatinOddity.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <string_view>

namespace leafmill {

namespace {

// What one wrong character adds: a byte the code page does not map is the
// surest sign, a letter of another language the weakest.
constexpr std::size_t kUnmapped = 4;
constexpr std::size_t kMisplaced = 2;
constexpr std::size_t kForeignLetter = 1;

// The small letters beyond ASCII of the languages written in the legacy
// Latin code pages (Vietnamese with the tone marks windows-1258 combines).
constexpr std::array<std::u32string_view, 25> kAlphabets = {{
    U"àâæçéèêëîïôœùûüÿ",  // French
    U"äöüßé",  // German
    U"áéíóúñü",  // Spanish
    U"áâãàçéêíóôõúü",  // Portuguese
    U"àèéìíîòóùú",  // Italian
    U"àèéíïòóúüç",  // Catalan
    U"éèëïöüáóàê",  // Dutch
    U"åäöé",  // Swedish
    U"æøåéèóô",  // Danish, Norwegian
    U"äöåšž",  // Finnish
    U"áéíóúýþðæö",  // Icelandic
    U"áíóúýðæø",  // Faroese
    U"õäöüšž",  // Estonian
    U"ąćęłńóśźż",  // Polish
    U"áčďéěíňóřšťúůýž",  // Czech
    U"áäčďéíĺľňóôŕšťúýž",  // Slovak
    U"áéíóöőúüű",  // Hungarian
    U"čćđšž",  // Slovene, Croatian, Bosnian
    U"ăâîșțşţ",  // Romanian
    U"çë",  // Albanian
    U"çğıöşüâîû",  // Turkish
    U"ąčęėįšųūž",  // Lithuanian
    U"āčēģīķļņšūž",  // Latvian
    U"àáâãèéêìíòóôõùúýăđĩũơưạảấầẩẫậắằẳẵặẹẻẽếềểễệỉịọỏốồổỗộớờởỡợụủứừửữựỳỵỷỹ"
    U"\u0300\u0301\u0303\u0309\u0323",  // Vietnamese
    U"ĉĝĥĵŝŭ",  // Esperanto
}};

// Signs beyond ASCII that prose uses; anything else that is no letter is odd.
constexpr std::u32string_view kProseSigns = U"\u00A0¡¢£¥§©«®°±¶·»¿×÷¹²³¼½¾ªºµ–—‘’‚“”„†•…‹›€™";
// Those that may stand inside a word.
constexpr std::u32string_view kInsideWords = U"’·\u00AD\u2011";

bool isLetter(UChar32 c)
{
    return u_isalpha(c) || u_charType(c) == U_NON_SPACING_MARK;
}

bool isUnmapped(UChar32 c)
{
    if (c == 0xFFFD || c < 0)
        return true;
    switch (u_charType(c)) {
    case U_CONTROL_CHAR:
    case U_UNASSIGNED:
    case U_PRIVATE_USE_CHAR:
    case U_SURROGATE:
        return true;
    case U_FORMAT_CHAR:
        return c != 0xAD;
    default:
        return false;
    }
}

std::u32string decoded(std::string_view utf8)
{
    std::u32string text;
    text.reserve(utf8.size());
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    for (int32_t at = 0, size = static_cast<int32_t>(std::min<std::size_t>(utf8.size(), INT32_MAX)); at < size;) {
        UChar32 c = 0;
        U8_NEXT(bytes, at, size, c);
        text.push_back(c < 0 ? 0xFFFD : static_cast<char32_t>(c));
    }
    return text;
}

// Letters not in the alphabet that holds most of the text's letters.
std::size_t foreignLetters(const std::map<char32_t, std::size_t>& letters)
{
    std::size_t total = 0;
    for (const auto& [letter, count] : letters)
        total += count;
    std::size_t best = 0;
    for (std::u32string_view alphabet : kAlphabets) {
        std::size_t covered = 0;
        for (const auto& [letter, count] : letters)
            if (alphabet.find(letter) != std::u32string_view::npos)
                covered += count;
        best = std::max(best, covered);
    }
    return total - best;
}

}  // namespace

std::size_t latinOddity(std::string_view utf8)
{
    const std::u32string text = decoded(utf8);
    std::map<char32_t, std::size_t> letters;
    std::size_t oddity = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<UChar32>(text[i]);
        if (c < 0x80)
            continue;
        const UChar32 before = i > 0 ? static_cast<UChar32>(text[i - 1]) : ' ';
        const UChar32 after = i + 1 < text.size() ? static_cast<UChar32>(text[i + 1]) : ' ';
        if (isUnmapped(c)) {
            oddity += kUnmapped;
        } else if (isLetter(c)) {
            ++letters[static_cast<char32_t>(u_tolower(c))];
            // "cafŽ", "ìThat": capitals inside words are misread letters.
            if ((u_isupper(c) && u_islower(before)) || (u_islower(c) && u_isupper(after)))
                oddity += kMisplaced;
        } else if (u_charType(c) == U_MODIFIER_SYMBOL
                   || kProseSigns.find(static_cast<char32_t>(c)) == std::u32string_view::npos) {
            oddity += kMisplaced;
        } else if (isLetter(before) && isLetter(after)
                   && kInsideWords.find(static_cast<char32_t>(c)) == std::u32string_view::npos) {
            oddity += kMisplaced;
        }
    }
    return oddity + kForeignLetter * foreignLetters(letters);
}

}  // namespace leafmill
