#include "extract/rtf/NoteNumbering.h"

#include <algorithm>
#include <array>
#include <utility>

namespace leafmill::extract::rtf {

namespace {

// The format words after their prefix ("ftnn", "aftnn", or the same with an
// "s" for a section's own setting).
constexpr std::array<std::pair<std::string_view, NumberStyle>, 6> kFormats = {{
    {"ar", NumberStyle::Decimal},
    {"alc", NumberStyle::LowerLetter},
    {"auc", NumberStyle::UpperLetter},
    {"rlc", NumberStyle::LowerRoman},
    {"ruc", NumberStyle::UpperRoman},
    {"chi", NumberStyle::Symbols},
}};

}  // namespace

void NoteNumbering::read(std::string_view word, bool hasParam, std::int32_t param)
{
    if (word.starts_with("s"))
        word.remove_prefix(1);
    const bool endnote = word.starts_with("a");
    if (endnote)
        word.remove_prefix(1);
    if (!word.starts_with("ftn"))
        return;
    word.remove_prefix(3);
    Counter& counter = counters_[endnote ? 1 : 0];
    if (word == "start") {
        counter.start = hasParam ? std::max<std::int32_t>(param, 0) : 1;
        return;
    }
    if (word == "restart" || word == "rstcont") {
        counter.restartsEachSection = word == "restart";
        return;
    }
    if (!word.starts_with("n"))
        return;
    word.remove_prefix(1);
    for (const auto& [suffix, style] : kFormats) {
        if (word == suffix) {
            counter.style = style;
            return;
        }
    }
}

std::string NoteNumbering::next(Kind kind)
{
    Counter& counter = counters_[kind == Kind::Endnote ? 1 : 0];
    return formatNumber(counter.start + counter.count++, counter.style);
}

void NoteNumbering::newSection()
{
    for (Counter& counter : counters_)
        if (counter.restartsEachSection)
            counter.count = 0;
}

}  // namespace leafmill::extract::rtf
