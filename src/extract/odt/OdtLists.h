#pragma once

#include "extract/common/ListNumbers.h"

#include <pugixml.hpp>

#include <array>
#include <map>
#include <string>
#include <string_view>

namespace leafmill::extract::odt {

// How one level of a list or of the headings' outline is labelled.
struct LevelStyle {
    bool bullet = false;
    std::string bulletChar;
    NumberStyle style = NumberStyle::None;
    std::string prefix, suffix;
    int displayLevels = 1;  // how many numbers, from this level up, the label shows
    long start = 1;
};
using LevelStyles = std::array<LevelStyle, kListLevels>;

// The list styles and the outline style of a document's style parts.
class ListStyles {
public:
    // Reads the text:list-style and text:outline-style children of an
    // office:styles or office:automatic-styles element.
    void read(pugi::xml_node styles);

    const LevelStyles* list(std::string_view name) const;
    const LevelStyles& outline() const { return outline_; }

private:
    std::map<std::string, LevelStyles, std::less<>> lists_;
    LevelStyles outline_;
};

// The label of the item just counted at `level` ("2.", "1.4)", "•"), or ""
// when the level shows none.
std::string listLabel(const LevelStyles& styles, const ListCount& count, int level);

}  // namespace leafmill::extract::odt
