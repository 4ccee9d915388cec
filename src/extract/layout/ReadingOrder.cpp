#include "extract/layout/ReadingOrder.h"

#include <unicode/ubidi.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <memory>

namespace leafmill::extract::layout {

namespace {

struct CloseBidi {
    void operator()(UBiDi* bidi) const { ubidi_close(bidi); }
};

}  // namespace

std::string readingOrder(std::string_view visual, bool& rightToLeft)
{
    rightToLeft = false;
    const icu::UnicodeString text
        = icu::UnicodeString::fromUTF8(icu::StringPiece(visual.data(), static_cast<int32_t>(visual.size())));
    std::size_t right = 0, left = 0;
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        const UCharDirection direction = u_charDirection(text.char32At(i));
        right += direction == U_RIGHT_TO_LEFT || direction == U_RIGHT_TO_LEFT_ARABIC;
        left += direction == U_LEFT_TO_RIGHT;
    }
    if (right == 0)
        return std::string(visual);
    rightToLeft = right > left;
    const std::unique_ptr<UBiDi, CloseBidi> bidi(ubidi_open());
    if (!bidi)
        return std::string(visual);
    UErrorCode status = U_ZERO_ERROR;
    // Visual text to logical: the inverse of what a viewer does to show it.
    ubidi_setReorderingMode(bidi.get(), UBIDI_REORDER_INVERSE_LIKE_DIRECT);
    ubidi_setPara(bidi.get(), text.getBuffer(), text.length(), rightToLeft ? UBIDI_RTL : UBIDI_LTR, nullptr, &status);
    icu::UnicodeString logical;
    const int32_t length = ubidi_writeReordered(bidi.get(), logical.getBuffer(text.length()), text.length(),
                                                UBIDI_REMOVE_BIDI_CONTROLS, &status);
    logical.releaseBuffer(U_SUCCESS(status) ? length : 0);
    if (U_FAILURE(status))
        return std::string(visual);
    std::string out;
    return logical.toUTF8String(out);
}

}  // namespace leafmill::extract::layout
