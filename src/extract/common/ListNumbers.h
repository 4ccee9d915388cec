#pragma once

#include <array>
#include <string>
#include <string_view>

namespace leafmill::extract {

// How a list or note number is written.
enum class NumberStyle {
    Decimal,  // 1, 2, 3
    DecimalZero,  // 01, 02, ... 10
    LowerLetter,  // a, b, ... z, aa, bb
    UpperLetter,  // A, B, ... Z, AA, BB
    LowerRoman,  // i, ii, iii
    UpperRoman,  // I, II, III
    Symbols,  // *, †, ‡, §, then doubled: **, ††
    None,  // nothing
    Ordinal,  // 1st, 2nd, 3rd
    CardinalText,  // One, Two, Three
    OrdinalText,  // First, Second, Third
};

// `n` in that style, as word processors write it; numbers below 1 and Roman
// numerals above 3999 fall back to decimal. Ordinals and numbers in words
// are those of `language` (a BCP 47 tag such as "en-US" or "de"), by ICU's
// rules, with a capital as a list label starts.
std::string formatNumber(long n, NumberStyle style, std::string_view language = "en");

// The most levels a list has in any of the formats read (OpenDocument's ten).
constexpr int kListLevels = 10;

// The running numbers of one list's levels.
struct ListCount {
    std::array<long, kListLevels> value {};
    std::array<bool, kListLevels> started {};

    // Counts the next item of `level` (0-based), which starts at `start`;
    // deeper levels start again.
    void next(int level, long start);

    // The number shown for `level`: its count, or its start before its first item.
    long shown(int level, long start) const
    {
        const auto at = static_cast<std::size_t>(level);
        return started[at] ? value[at] : start;
    }
};

}  // namespace leafmill::extract
