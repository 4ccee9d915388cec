#include "extract/common/ListNumbers.h"

#include <unicode/locid.h>
#include <unicode/rbnf.h>
#include <unicode/uchar.h>

#include <array>
#include <map>
#include <memory>
#include <utility>

namespace leafmill::extract {

namespace {

std::string roman(long n, bool upper)
{
    static constexpr std::array<std::pair<int, std::string_view>, 13> kDigits = {{
        {1000, "m"},
        {900, "cm"},
        {500, "d"},
        {400, "cd"},
        {100, "c"},
        {90, "xc"},
        {50, "l"},
        {40, "xl"},
        {10, "x"},
        {9, "ix"},
        {5, "v"},
        {4, "iv"},
        {1, "i"},
    }};
    std::string out;
    for (const auto& [value, digits] : kDigits)
        for (; n >= value; n -= value)
            out += digits;
    if (upper)
        for (char& c : out)
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// a..z, then aa..zz, aaa..: the letter repeated, as word processors count.
std::string letters(long n, bool upper)
{
    const char letter = static_cast<char>((upper ? 'A' : 'a') + (n - 1) % 26);
    return std::string(static_cast<std::size_t>((n - 1) / 26 + 1), letter);
}

// The note marks of printed books, each taken once more per round.
std::string symbols(long n)
{
    static constexpr std::array<std::string_view, 4> kSymbols = {"*", "\u2020", "\u2021", "\u00A7"};
    std::string out;
    for (long round = 0; round <= (n - 1) / 4; ++round)
        out += kSymbols[static_cast<std::size_t>((n - 1) % 4)];
    return out;
}

struct FormatKey {
    std::string language;
    NumberStyle style;
    auto operator<=>(const FormatKey&) const = default;
};

// A rule set whose name starts so ("%spellout-ordinal", or the
// "%spellout-ordinal-masculine" of languages whose ordinals have genders).
bool useRuleSet(icu::RuleBasedNumberFormat& format, std::string_view start)
{
    for (int32_t i = 0; i < format.getNumberOfRuleSetNames(); ++i) {
        std::string name;
        format.getRuleSetName(i).toUTF8String(name);
        if (name.starts_with(start)) {
            UErrorCode status = U_ZERO_ERROR;
            format.setDefaultRuleSet(format.getRuleSetName(i), status);
            return U_SUCCESS(status);
        }
    }
    return false;
}

// ICU's rule-based format for the language, made once per thread: making one
// parses its rules.
icu::RuleBasedNumberFormat* ruleBasedFormat(std::string_view language, NumberStyle style)
{
    thread_local std::map<FormatKey, std::unique_ptr<icu::RuleBasedNumberFormat>> formats;
    auto& format = formats[{std::string(language), style}];
    if (!format) {
        UErrorCode status = U_ZERO_ERROR;
        const icu::Locale locale = icu::Locale::forLanguageTag(std::string(language), status);
        status = U_ZERO_ERROR;
        format = std::make_unique<icu::RuleBasedNumberFormat>(
            style == NumberStyle::Ordinal ? icu::URBNF_ORDINAL : icu::URBNF_SPELLOUT, locale, status);
        if (U_FAILURE(status) || (style == NumberStyle::OrdinalText && !useRuleSet(*format, "%spellout-ordinal")))
            format.reset();
    }
    return format.get();
}

std::string inWords(long n, NumberStyle style, std::string_view language)
{
    icu::RuleBasedNumberFormat* format = ruleBasedFormat(language, style);
    if (format == nullptr)
        return std::to_string(n);
    icu::UnicodeString text;
    format->format(static_cast<int64_t>(n), text);
    if (style != NumberStyle::Ordinal && !text.isEmpty())
        text.replace(0, U16_LENGTH(text.char32At(0)),
                     icu::UnicodeString(static_cast<UChar32>(u_totitle(text.char32At(0)))));
    std::string utf8;
    return text.toUTF8String(utf8);
}

}  // namespace

std::string formatNumber(long n, NumberStyle style, std::string_view language)
{
    if (style == NumberStyle::None)
        return {};
    if (n < 1)
        return std::to_string(n);
    switch (style) {
    case NumberStyle::DecimalZero:
        return (n < 10 ? "0" : "") + std::to_string(n);
    case NumberStyle::LowerLetter:
    case NumberStyle::UpperLetter:
        // Long runs of one letter say nothing; past 26 * 10 the number is clearer.
        return n <= 260 ? letters(n, style == NumberStyle::UpperLetter) : std::to_string(n);
    case NumberStyle::LowerRoman:
    case NumberStyle::UpperRoman:
        return n < 4000 ? roman(n, style == NumberStyle::UpperRoman) : std::to_string(n);
    case NumberStyle::Symbols:
        return n <= 40 ? symbols(n) : std::to_string(n);
    case NumberStyle::Ordinal:
    case NumberStyle::CardinalText:
    case NumberStyle::OrdinalText:
        return inWords(n, style, language);
    default:
        return std::to_string(n);
    }
}

void ListCount::next(int level, long start)
{
    const auto at = static_cast<std::size_t>(level);
    value[at] = started[at] ? value[at] + 1 : start;
    started[at] = true;
    for (std::size_t deeper = at + 1; deeper < kListLevels; ++deeper)
        started[deeper] = false;
}

}  // namespace leafmill::extract
