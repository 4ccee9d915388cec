#include "extract/layout/Scripts.h"

#include <unicode/uscript.h>
#include <unicode/utf8.h>

namespace leafmill::extract::layout {

char32_t firstCodePoint(std::string_view text)
{
    int32_t i = 0;
    UChar32 c = 0;
    if (!text.empty())
        U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), i, static_cast<int32_t>(text.size()), c);
    return c < 0 ? 0 : static_cast<char32_t>(c);
}

char32_t lastCodePoint(std::string_view text)
{
    if (text.empty())
        return 0;
    auto i = static_cast<int32_t>(text.size());
    UChar32 c = 0;
    U8_PREV(reinterpret_cast<const uint8_t*>(text.data()), 0, i, c);
    return c < 0 ? 0 : static_cast<char32_t>(c);
}

std::size_t codePointCount(std::string_view text)
{
    std::size_t count = 0;
    for (char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return count;
}

bool isCjk(char32_t c)
{
    if ((c >= 0x3000 && c <= 0x303F) || (c >= 0xFF00 && c <= 0xFFEF))
        return true;
    UErrorCode status = U_ZERO_ERROR;
    const UScriptCode script = uscript_getScript(static_cast<UChar32>(c), &status);
    return script == USCRIPT_HAN || script == USCRIPT_HIRAGANA || script == USCRIPT_KATAKANA;
}

bool holdsRightToLeft(std::string_view text)
{
    for (int32_t i = 0; i < static_cast<int32_t>(text.size());) {
        // ASCII, most lines whole, is never written right to left.
        if (static_cast<unsigned char>(text[static_cast<std::size_t>(i)]) < 0x80) {
            ++i;
            continue;
        }
        UChar32 c = 0;
        U8_NEXT(reinterpret_cast<const uint8_t*>(text.data()), i, static_cast<int32_t>(text.size()), c);
        if (c > 0 && isRightToLeft(static_cast<char32_t>(c)))
            return true;
    }
    return false;
}

}  // namespace leafmill::extract::layout
