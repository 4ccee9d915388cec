#pragma once

#include "extract/common/ListNumbers.h"

namespace leafmill::extract::doc {

// How Word writes a number of number format `nfc` (of lists and of notes);
// ordinals, the Asian countings and the rare others as decimals.
inline NumberStyle numberStyleOf(unsigned nfc)
{
    switch (nfc) {
    case 1:
        return NumberStyle::UpperRoman;
    case 2:
        return NumberStyle::LowerRoman;
    case 3:
        return NumberStyle::UpperLetter;
    case 4:
        return NumberStyle::LowerLetter;
    case 9:
        return NumberStyle::Symbols;  // *, †, ‡, §
    case 22:
        return NumberStyle::DecimalZero;
    case 255:
        return NumberStyle::None;
    default:
        return NumberStyle::Decimal;
    }
}

}  // namespace leafmill::extract::doc
