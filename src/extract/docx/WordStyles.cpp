#include "extract/docx/WordStyles.h"

#include "extract/package/XmlDocument.h"

#include <algorithm>
#include <cstdlib>

namespace leafmill::extract::docx {

using package::attributeValue;
using package::childNamed;

namespace {

// A chain of based-on styles longer than this is a loop.
constexpr int kMaxInheritance = 32;

struct RawStyle {
    std::string basedOn;
    std::string name;
    pugi::xml_node paragraph;  // w:pPr
};

int number(std::string_view text, int otherwise)
{
    if (text.empty())
        return otherwise;
    return std::atoi(std::string(text).c_str());
}

// "heading 3" (as Word names its built-in styles in any language version).
int headingLevelOfName(std::string_view name)
{
    constexpr std::string_view kHeading = "heading ";
    if (name.size() != kHeading.size() + 1 || name.substr(0, kHeading.size()) != kHeading)
        return 0;
    const char digit = name.back();
    return digit >= '1' && digit <= '9' ? digit - '0' : 0;
}

}  // namespace

int outlineLevelOf(pugi::xml_node outlineLvl)
{
    const int value = number(attributeValue(outlineLvl, "val"), 9);
    return value >= 0 && value < 9 ? value + 1 : 0;
}

NumberingRef numberingOf(pugi::xml_node numPr)
{
    NumberingRef ref;
    if (const pugi::xml_node id = childNamed(numPr, "numId"))
        ref.numId = attributeValue(id, "val");
    if (const pugi::xml_node level = childNamed(numPr, "ilvl"))
        ref.level = std::clamp(number(attributeValue(level, "val"), 0), 0, 8);
    return ref;
}

WordStyles::WordStyles(pugi::xml_node styles)
    : language_(attributeValue(
        childNamed(childNamed(childNamed(childNamed(styles, "docDefaults"), "rPrDefault"), "rPr"), "lang"), "val"))
{
    std::map<std::string, RawStyle, std::less<>> raw;
    std::string defaultId;
    for (pugi::xml_node style : styles.children()) {
        if (package::localName(style) != "style" || attributeValue(style, "type") != "paragraph")
            continue;
        const std::string id(attributeValue(style, "styleId"));
        raw[id] = {std::string(attributeValue(childNamed(style, "basedOn"), "val")),
                   std::string(attributeValue(childNamed(style, "name"), "val")), childNamed(style, "pPr")};
        const std::string_view isDefault = attributeValue(style, "default");
        if (isDefault == "1" || isDefault == "true" || isDefault == "on")
            defaultId = id;
    }
    for (const auto& [id, first] : raw) {
        ParagraphStyle resolved;
        bool levelFound = false, listFound = false, levelGiven = false;
        const RawStyle* style = &first;
        for (int hops = 0; style && hops < kMaxInheritance; ++hops) {
            if (const pugi::xml_node outline = childNamed(style->paragraph, "outlineLvl"); outline && !levelFound) {
                resolved.outlineLevel = outlineLevelOf(outline);
                levelFound = true;
            }
            if (!levelFound && headingLevelOfName(style->name) > 0) {
                resolved.outlineLevel = headingLevelOfName(style->name);
                levelFound = true;
            }
            if (const pugi::xml_node numPr = childNamed(style->paragraph, "numPr")) {
                const NumberingRef ref = numberingOf(numPr);
                if (!listFound && !ref.numId.empty()) {
                    resolved.numbering.numId = ref.numId;
                    listFound = true;
                }
                if (!levelGiven && ref.level >= 0) {
                    resolved.numbering.level = ref.level;
                    levelGiven = true;
                }
            }
            const auto base = raw.find(style->basedOn);
            style = base == raw.end() || style->basedOn == id ? nullptr : &base->second;
        }
        styles_.emplace(id, resolved);
    }
    if (const auto found = styles_.find(defaultId); found != styles_.end())
        default_ = found->second;
}

const ParagraphStyle& WordStyles::paragraph(std::string_view styleId) const
{
    const auto found = styles_.find(styleId);
    return found == styles_.end() ? default_ : found->second;
}

}  // namespace leafmill::extract::docx
