#include "text/WideTextPattern.h"

#include "text/Utf8.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace leafmill {

namespace {

// Share of the code points that must read as text, in hundredths.
constexpr std::size_t kTextShare = 95;
// Readings this close count as equally good.
constexpr std::size_t kShareSlack = 2;

struct WideForm {
    std::size_t unitSize;
    bool bigEndian;
    std::string_view name;
};

constexpr std::array<WideForm, 4> kForms = {{
    {4, false, "UTF-32LE"},
    {4, true, "UTF-32BE"},
    {2, false, "UTF-16LE"},
    {2, true, "UTF-16BE"},
}};

uint32_t unitAt(std::string_view bytes, std::size_t at, const WideForm& form)
{
    uint32_t unit = 0;
    for (std::size_t i = 0; i < form.unitSize; ++i) {
        const std::size_t index = form.bigEndian ? at + i : at + form.unitSize - 1 - i;
        unit = (unit << 8) | static_cast<unsigned char>(bytes[index]);
    }
    return unit;
}

bool readsAsText(uint32_t c)
{
    if (c > 0x10FFFF || c == 0)
        return false;
    if (c == '\t' || c == '\n' || c == '\r' || c == '\f')
        return true;
    switch (u_charType(static_cast<UChar32>(c))) {
    case U_CONTROL_CHAR:
    case U_UNASSIGNED:
    case U_PRIVATE_USE_CHAR:
    case U_SURROGATE:
        return false;
    default:
        return true;
    }
}

struct Reading {
    std::size_t share = 0;  // hundredths of the code points that read as text
    std::size_t ascii = 0;  // code points below 128
};

Reading readingOf(std::string_view head, const WideForm& form)
{
    Reading reading;
    std::size_t total = 0;
    std::size_t text = 0;
    for (std::size_t at = 0; at + form.unitSize <= head.size(); at += form.unitSize) {
        uint32_t c = unitAt(head, at, form);
        if (form.unitSize == 2 && isHighSurrogate(c) && at + 4 <= head.size()) {
            const uint32_t low = unitAt(head, at + 2, form);
            if (isLowSurrogate(low)) {
                c = fromSurrogates(c, low);
                at += 2;
            }
        }
        ++total;
        text += readsAsText(c) ? 1 : 0;
        reading.ascii += c < 0x80 ? 1 : 0;
    }
    reading.share = total == 0 ? 0 : text * 100 / total;
    return reading;
}

// UTF-16 text holds zero bytes wherever it has an ASCII character (and in
// the few characters U+xx00); a stray NUL or two in 8-bit text is no pattern.
bool holdsZeroPattern(std::string_view head)
{
    const auto zeros = static_cast<std::size_t>(std::count(head.begin(), head.end(), '\0'));
    return zeros * 4 >= std::min<std::size_t>(16, head.size() / 2);
}

}  // namespace

NamedEncoding unmarkedWideEncoding(std::string_view head)
{
    std::array<Reading, kForms.size()> readings;
    std::size_t bestShare = 0;
    const bool utf16 = holdsZeroPattern(head);
    for (std::size_t i = 0; i < kForms.size(); ++i) {
        if (kForms[i].unitSize == 2 && !utf16)
            continue;
        readings[i] = readingOf(head, kForms[i]);
        bestShare = std::max(bestShare, readings[i].share);
    }
    if (bestShare < kTextShare)
        return {};
    // Read in the wrong byte order, ASCII turns into CJK ideographs, which
    // are text too; of the forms that read about as well, the one that keeps
    // the line ends, blanks and digits as ASCII is right.
    const WideForm* best = nullptr;
    std::size_t bestAscii = 0;
    for (std::size_t i = 0; i < kForms.size(); ++i)
        if (readings[i].share + kShareSlack >= bestShare && (!best || readings[i].ascii > bestAscii)) {
            best = &kForms[i];
            bestAscii = readings[i].ascii;
        }
    return {std::string(best->name), std::string(best->name)};
}

}  // namespace leafmill
