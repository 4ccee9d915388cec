#include "extract/docx/WordNumbering.h"

#include "extract/package/XmlDocument.h"
#include "text/SymbolFonts.h"
#include "text/Utf8.h"

#include <algorithm>
#include <cstdlib>

namespace leafmill::extract::docx {

using package::attributeValue;
using package::childNamed;
using package::localName;

namespace {

constexpr std::string_view kBullet = "\u2022";

NumberStyle styleOf(std::string_view format)
{
    static const std::map<std::string_view, NumberStyle> kStyles = {
        {"decimalZero", NumberStyle::DecimalZero}, {"lowerLetter", NumberStyle::LowerLetter},
        {"upperLetter", NumberStyle::UpperLetter}, {"lowerRoman", NumberStyle::LowerRoman},
        {"upperRoman", NumberStyle::UpperRoman},   {"none", NumberStyle::None},
        {"ordinal", NumberStyle::Ordinal},         {"cardinalText", NumberStyle::CardinalText},
        {"ordinalText", NumberStyle::OrdinalText},
    };
    const auto found = kStyles.find(format);
    return found == kStyles.end() ? NumberStyle::Decimal : found->second;
}

bool isOn(pugi::xml_node flag)
{
    const std::string_view value = attributeValue(flag, "val");
    return flag && (value.empty() || value == "1" || value == "true" || value == "on");
}

long numberValue(pugi::xml_node node, long otherwise)
{
    const std::string_view value = attributeValue(node, "val");
    return node && !value.empty() ? std::atol(std::string(value).c_str()) : otherwise;
}

bool isPrivateUse(std::string_view utf8)
{
    // U+E000..U+F8FF: EE 80 80 .. EF A3 BF.
    for (std::size_t i = 0; i + 2 < utf8.size(); ++i) {
        const auto lead = static_cast<unsigned char>(utf8[i]), next = static_cast<unsigned char>(utf8[i + 1]);
        if (lead == 0xEE || (lead == 0xEF && next <= 0xA3))
            return true;
    }
    return false;
}

}  // namespace

std::string symbolFontText(std::string_view utf8, SymbolFont font)
{
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            const char32_t c = symbolFontChar(font, b);
            appendUtf8(c ? c : b, out);
            continue;
        }
        // U+F020..U+F0FF is EF 80 A0 .. EF 83 BF.
        if (b == 0xEF && i + 2 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) >= 0x80
            && static_cast<unsigned char>(utf8[i + 1]) <= 0x83) {
            const unsigned c = ((static_cast<unsigned char>(utf8[i + 1]) & 0x3F) << 6)
                | (static_cast<unsigned char>(utf8[i + 2]) & 0x3F);
            if (const char32_t shown = symbolFontChar(font, c)) {
                appendUtf8(shown, out);
                i += 2;
                continue;
            }
        }
        out += utf8[i];
    }
    return out;
}

WordNumbering::WordNumbering(pugi::xml_node numbering, std::string language)
    : language_(language.empty() ? "en" : std::move(language))
{
    std::map<std::string, Levels, std::less<>> abstracts;
    const auto readLevel = [](pugi::xml_node lvl, Level& level) {
        if (const pugi::xml_node start = childNamed(lvl, "start"))
            level.start = numberValue(start, 1);
        if (const pugi::xml_node format = childNamed(lvl, "numFmt")) {
            const std::string_view name = attributeValue(format, "val");
            level.bullet = name == "bullet";
            level.style = styleOf(name);
        }
        if (const pugi::xml_node text = childNamed(lvl, "lvlText"))
            level.text = attributeValue(text, "val");
        level.legal = isOn(childNamed(lvl, "isLgl"));
        level.font = attributeValue(childNamed(childNamed(lvl, "rPr"), "rFonts"), "ascii");
    };
    const auto levelIndex = [](pugi::xml_node node) {
        const long index = std::atol(std::string(attributeValue(node, "ilvl")).c_str());
        return index >= 0 && index < kLevels ? static_cast<int>(index) : -1;
    };
    for (pugi::xml_node abstract : numbering.children()) {
        if (localName(abstract) != "abstractNum")
            continue;
        Levels& levels = abstracts[std::string(attributeValue(abstract, "abstractNumId"))];
        for (pugi::xml_node lvl : abstract.children())
            if (localName(lvl) == "lvl" && levelIndex(lvl) >= 0)
                readLevel(lvl, levels[static_cast<std::size_t>(levelIndex(lvl))]);
    }
    for (pugi::xml_node num : numbering.children()) {
        if (localName(num) != "num")
            continue;
        Instance instance;
        instance.abstractId = attributeValue(childNamed(num, "abstractNumId"), "val");
        if (const auto found = abstracts.find(instance.abstractId); found != abstracts.end())
            instance.levels = found->second;
        for (pugi::xml_node override : num.children()) {
            const int index = levelIndex(override);
            if (localName(override) != "lvlOverride" || index < 0)
                continue;
            Level& level = instance.levels[static_cast<std::size_t>(index)];
            if (const pugi::xml_node lvl = childNamed(override, "lvl"))
                readLevel(lvl, level);
            if (const pugi::xml_node start = childNamed(override, "startOverride")) {
                level.start = numberValue(start, level.start);
                instance.ownCount = true;
            }
        }
        instances_.emplace(attributeValue(num, "numId"), std::move(instance));
    }
}

std::string WordNumbering::nextLabel(const NumberingRef& ref)
{
    const auto found = instances_.find(ref.numId);
    if (found == instances_.end())
        return {};
    const Instance& instance = found->second;
    const int level = std::max(ref.level, 0);
    ListCount& count = counts_[instance.ownCount ? "n" + ref.numId : "a" + instance.abstractId];
    count.next(level, instance.levels[static_cast<std::size_t>(level)].start);
    return label(instance.levels, count, level);
}

std::string WordNumbering::label(const Levels& levels, const ListCount& count, int level) const
{
    const Level& shown = levels[static_cast<std::size_t>(level)];
    if (shown.bullet) {
        const SymbolFont font = symbolFontNamed(shown.font);
        std::string text = font != SymbolFont::None ? symbolFontText(shown.text, font) : shown.text;
        // Picture fonts without a table draw their own shapes: a bullet says the same.
        if (text.empty() || isPrivateUse(text))
            text = kBullet;
        return text;
    }
    std::string out;
    for (std::size_t i = 0; i < shown.text.size(); ++i) {
        const char c = shown.text[i];
        if (c == '%' && i + 1 < shown.text.size() && shown.text[i + 1] >= '1' && shown.text[i + 1] <= '9') {
            const auto of = static_cast<std::size_t>(shown.text[++i] - '1');
            const long value = count.shown(static_cast<int>(of), levels[of].start);
            const bool decimal = shown.legal && levels[of].style != NumberStyle::None;
            out += formatNumber(value, decimal ? NumberStyle::Decimal : levels[of].style, language_);
            continue;
        }
        out += c;
    }
    return out;
}

}  // namespace leafmill::extract::docx
