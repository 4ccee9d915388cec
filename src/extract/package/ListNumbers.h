#pragma once

#include <string>
#include <string_view>

namespace leafmill::extract::package {

// How a list or note number is written.
enum class NumberStyle {
    Decimal,  // 1, 2, 3
    DecimalZero,  // 01, 02, ... 10
    LowerLetter,  // a, b, ... z, aa, bb
    UpperLetter,  // A, B, ... Z, AA, BB
    LowerRoman,  // i, ii, iii
    UpperRoman,  // I, II, III
    None,  // nothing
};

// `n` in that style, as word processors write it; numbers below 1 and Roman
// numerals above 3999 fall back to decimal.
std::string formatNumber(long n, NumberStyle style);

}  // namespace leafmill::extract::package
