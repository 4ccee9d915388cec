#include "extract/doc/ListTables.h"

#include "extract/doc/DocFormatError.h"
#include "extract/doc/Fib.h"
#include "extract/doc/FontTable.h"
#include "extract/doc/LittleEndian.h"
#include "extract/doc/NumberFormat.h"
#include "extract/doc/Sprm.h"
#include "text/Utf8.h"

#include <algorithm>
#include <optional>

namespace leafmill::extract::doc {

namespace {

constexpr std::string_view kWhat = "the list tables";
constexpr std::size_t kLstfSize = 28, kLvlfSize = 28, kLfoSize = 16, kLfoLevelSize = 8;
constexpr unsigned kBulletFormat = 23;
constexpr char32_t kBullet = U'\u2022';

bool isPrivateUse(char32_t c)
{
    return c >= 0xE000 && c <= 0xF8FF;
}

}  // namespace

// An LVL: its fixed part, the paragraph and character modifiers, the number
// text. Returns the position behind it.
std::size_t ListTables::readLevel(std::string_view bytes, std::size_t pos, const FontTable& fonts, Level& level)
{
    const std::string_view lvlf = slice(bytes, pos, kLvlfSize, kWhat);
    level.start = static_cast<std::int32_t>(readU32(lvlf, 0, kWhat));
    const unsigned nfc = readU8(lvlf, 4, kWhat);
    level.bullet = nfc == kBulletFormat;
    level.style = numberStyleOf(nfc);
    level.legal = readU8(lvlf, 5, kWhat) & 0x04;
    const unsigned follow = readU8(lvlf, 15, kWhat);
    // A label with nothing behind it still needs a blank to stay apart from its text.
    level.follow = follow == 0 ? '\t' : ' ';
    const std::size_t cbChpx = readU8(lvlf, 24, kWhat), cbPapx = readU8(lvlf, 25, kWhat);
    pos += kLvlfSize + cbPapx;
    SprmReader chpx(slice(bytes, pos, cbChpx, kWhat));
    for (Sprm sprm; chpx.next(sprm);)
        if (sprm.code == kSprmCRgFtc0)
            level.font = fonts.symbolFont(static_cast<std::uint16_t>(sprm.word()));
    pos += cbChpx;
    const std::size_t length = readU16(bytes, pos, kWhat);
    const std::string_view text = slice(bytes, pos + 2, 2 * length, kWhat);
    level.text.clear();
    for (std::size_t i = 0; i < length; ++i)
        level.text.push_back(static_cast<char16_t>(readU16(text, 2 * i, kWhat)));
    return pos + 2 + 2 * length;
}

ListTables ListTables::read(std::string_view table, const Fib& fib, const FontTable& fonts)
{
    ListTables lists;
    if (fib.word6 || fib.lcbPlfLst < 2 || fib.lcbPlfLfo < 4)
        return lists;
    try {
        // The lists' own levels, by list id; one level for a simple list.
        std::map<std::int32_t, std::pair<std::size_t, Levels>> byId;
        const std::size_t listCount = readU16(table, fib.fcPlfLst, kWhat);
        std::size_t pos = fib.fcPlfLst + 2 + kLstfSize * listCount;  // the levels follow the list array
        for (std::size_t i = 0; i < listCount; ++i) {
            const std::string_view lstf = slice(table, fib.fcPlfLst + 2 + kLstfSize * i, kLstfSize, kWhat);
            const std::int32_t id = static_cast<std::int32_t>(readU32(lstf, 0, kWhat));
            const int levels = (readU8(lstf, 26, kWhat) & 0x01) ? 1 : kLevels;
            auto& [index, list] = byId[id];
            index = i;
            for (int l = 0; l < levels; ++l)
                pos = readLevel(table, pos, fonts, list[static_cast<std::size_t>(l)]);
        }
        const std::string_view plfLfo = slice(table, fib.fcPlfLfo, fib.lcbPlfLfo, kWhat);
        const std::size_t overrideCount = readU32(plfLfo, 0, kWhat);
        if (overrideCount > plfLfo.size() / kLfoSize)
            throw DocFormatError("the list overrides are cut short");
        std::size_t dataPos = 4 + kLfoSize * overrideCount;
        for (std::size_t i = 0; i < overrideCount; ++i) {
            const std::string_view lfo = slice(plfLfo, 4 + kLfoSize * i, kLfoSize, kWhat);
            const auto found = byId.find(static_cast<std::int32_t>(readU32(lfo, 0, kWhat)));
            Override entry;
            entry.countKey = -1 - static_cast<std::int64_t>(i);
            if (found != byId.end()) {
                entry.levels = found->second.second;
                entry.countKey = static_cast<std::int64_t>(found->second.first);
            }
            // Its level overrides: a new start (a restart of the numbers) or a whole new level.
            const std::size_t levelOverrides = readU8(lfo, 12, kWhat);
            dataPos += 4;
            for (std::size_t k = 0; k < levelOverrides; ++k) {
                const std::int32_t start = static_cast<std::int32_t>(readU32(plfLfo, dataPos, kWhat));
                const std::uint32_t flags = readU32(plfLfo, dataPos + 4, kWhat);
                dataPos += kLfoLevelSize;
                Level& level = entry.levels[std::min<std::size_t>(flags & 0x0F, kLevels - 1)];
                if (flags & 0x20)
                    dataPos = readLevel(plfLfo, dataPos, fonts, level);
                if (flags & 0x10) {
                    level.start = start;
                    entry.countKey = -1 - static_cast<std::int64_t>(i);
                }
            }
            lists.overrides_.push_back(std::move(entry));  // of an unknown list: no labels
        }
    } catch (const DocFormatError&) {
        // The overrides read so far stand.
    }
    return lists;
}

std::string ListTables::nextLabel(int ilfo, int ilvl)
{
    if (ilfo <= 0 || static_cast<std::size_t>(ilfo) > overrides_.size())
        return {};
    const Override& entry = overrides_[static_cast<std::size_t>(ilfo) - 1];
    const int level = std::clamp(ilvl, 0, kLevels - 1);
    ListCount& count = counts_[entry.countKey];
    count.next(level, entry.levels[static_cast<std::size_t>(level)].start);
    std::string text = label(entry.levels, count, level);
    if (!text.empty())
        text += entry.levels[static_cast<std::size_t>(level)].follow;
    return text;
}

std::string ListTables::label(const Levels& levels, const ListCount& count, int ilvl) const
{
    const Level& shown = levels[static_cast<std::size_t>(ilvl)];
    std::string out;
    for (const char16_t c : shown.text) {
        if (shown.bullet) {
            const char32_t drawn = shown.font != SymbolFont::None ? symbolFontChar(shown.font, c) : c;
            // Picture fonts' glyphs without a character say the same as a bullet.
            appendUtf8(drawn == 0 || isPrivateUse(drawn) ? kBullet : drawn, out);
        } else if (c < kLevels) {
            const Level& of = levels[c];
            const bool decimal = shown.legal && of.style != NumberStyle::None;
            out += formatNumber(count.shown(c, of.start), decimal ? NumberStyle::Decimal : of.style);
        } else if (c >= 0x20 && (c < 0xD800 || c > 0xDFFF)) {
            appendUtf8(c, out);
        }
    }
    return out;
}

}  // namespace leafmill::extract::doc
