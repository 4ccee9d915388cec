#include "extract/odt/OdtLists.h"

#include "extract/package/XmlDocument.h"

#include <algorithm>
#include <cstdlib>

namespace leafmill::extract::odt {

using package::attributeValue;
using package::localName;

namespace {

constexpr std::string_view kBullet = "\u2022";

NumberStyle styleOf(std::string_view format)
{
    if (format == "1")
        return NumberStyle::Decimal;
    if (format == "a")
        return NumberStyle::LowerLetter;
    if (format == "A")
        return NumberStyle::UpperLetter;
    if (format == "i")
        return NumberStyle::LowerRoman;
    if (format == "I")
        return NumberStyle::UpperRoman;
    // Other scripts' counting is written in decimal.
    return format.empty() ? NumberStyle::None : NumberStyle::Decimal;
}

long number(std::string_view text, long otherwise)
{
    return text.empty() ? otherwise : std::atol(std::string(text).c_str());
}

// Bullets drawn from a picture font's private characters say no more than a bullet.
std::string bulletOf(std::string_view text)
{
    const bool privateUse = text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEE;
    const bool privateUseHigh = text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF
        && static_cast<unsigned char>(text[1]) <= 0xA3;
    return text.empty() || privateUse || privateUseHigh ? std::string(kBullet) : std::string(text);
}

LevelStyles readLevels(pugi::xml_node listStyle)
{
    LevelStyles levels;
    for (pugi::xml_node style : listStyle.children()) {
        const long index = number(attributeValue(style, "level"), 0) - 1;
        if (index < 0 || index >= kListLevels)
            continue;
        LevelStyle& level = levels[static_cast<std::size_t>(index)];
        const std::string_view kind = localName(style);
        if (kind == "list-level-style-bullet" || kind == "list-level-style-image") {
            level.bullet = true;
            level.bulletChar = bulletOf(attributeValue(style, "bullet-char"));
        } else {
            level.style = styleOf(attributeValue(style, "num-format"));
        }
        level.prefix = attributeValue(style, "num-prefix");
        level.suffix = attributeValue(style, "num-suffix");
        level.displayLevels
            = static_cast<int>(std::clamp<long>(number(attributeValue(style, "display-levels"), 1), 1, index + 1));
        level.start = number(attributeValue(style, "start-value"), 1);
    }
    return levels;
}

}  // namespace

void ListStyles::read(pugi::xml_node styles)
{
    for (pugi::xml_node style : styles.children()) {
        if (localName(style) == "list-style")
            lists_[std::string(attributeValue(style, "name"))] = readLevels(style);
        else if (localName(style) == "outline-style")
            outline_ = readLevels(style);
    }
}

const LevelStyles* ListStyles::list(std::string_view name) const
{
    const auto found = lists_.find(name);
    return found == lists_.end() ? nullptr : &found->second;
}

std::string listLabel(const LevelStyles& styles, const ListCount& count, int level)
{
    const LevelStyle& shown = styles[static_cast<std::size_t>(level)];
    // Word processors write a suffix for bullets too but show none.
    if (shown.bullet)
        return shown.bulletChar;
    if (shown.style == NumberStyle::None)
        return {};
    std::string numbers;
    for (int k = level - shown.displayLevels + 1; k <= level; ++k) {
        const auto at = static_cast<std::size_t>(k);
        if (!numbers.empty())
            numbers += '.';
        numbers += formatNumber(count.shown(static_cast<int>(at), styles[at].start),
                                k == level || styles[at].style == NumberStyle::None ? shown.style : styles[at].style);
    }
    return shown.prefix + numbers + shown.suffix;
}

}  // namespace leafmill::extract::odt
