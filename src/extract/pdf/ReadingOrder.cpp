#include "extract/pdf/ReadingOrder.h"

#include <unicode/ubidi.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <memory>

namespace leafmill::extract::pdf {

namespace {

struct CloseBidi {
    void operator()(UBiDi* bidi) const { ubidi_close(bidi); }
};

std::u16string utf16(std::string_view utf8)
{
    std::u16string out(utf8.size(), u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                         static_cast<int32_t>(utf8.size()), 0xFFFD, nullptr, &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return out;
}

std::string utf8(const std::u16string& text)
{
    std::string out(text.size() * 3, '\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
    return out;
}

}  // namespace

std::string readingOrder(std::string_view visual, bool& rightToLeft)
{
    rightToLeft = false;
    const std::u16string text = utf16(visual);
    std::size_t right = 0, left = 0;
    for (std::size_t i = 0; i < text.size();) {
        UChar32 c = 0;
        U16_NEXT(text.data(), i, text.size(), c);
        const UCharDirection direction = u_charDirection(c);
        right += direction == U_RIGHT_TO_LEFT || direction == U_RIGHT_TO_LEFT_ARABIC;
        left += direction == U_LEFT_TO_RIGHT;
    }
    if (right == 0)
        return std::string(visual);
    rightToLeft = right > left;
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UBiDi, CloseBidi> bidi(ubidi_open());
    if (!bidi)
        return std::string(visual);
    // Visual text to logical: the inverse of what a viewer does to show it.
    ubidi_setReorderingMode(bidi.get(), UBIDI_REORDER_INVERSE_LIKE_DIRECT);
    ubidi_setPara(bidi.get(), text.data(), static_cast<int32_t>(text.size()), rightToLeft ? UBIDI_RTL : UBIDI_LTR,
                  nullptr, &status);
    std::u16string logical(text.size(), u'\0');
    const int32_t length = ubidi_writeReordered(bidi.get(), logical.data(), static_cast<int32_t>(logical.size()),
                                                UBIDI_REMOVE_BIDI_CONTROLS, &status);
    if (U_FAILURE(status))
        return std::string(visual);
    logical.resize(static_cast<std::size_t>(length));
    return utf8(logical);
}

}  // namespace leafmill::extract::pdf
