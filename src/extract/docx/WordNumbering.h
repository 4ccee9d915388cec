#pragma once

#include "extract/common/ListNumbers.h"
#include "extract/docx/WordStyles.h"
#include "text/SymbolFonts.h"

#include <pugixml.hpp>

#include <array>
#include <map>
#include <string>
#include <string_view>

namespace leafmill::extract::docx {

// The lists of numbering.xml and their running counts: each numbered
// paragraph takes its label, as Word shows it, in document order.
class WordNumbering {
public:
    WordNumbering() = default;
    // Numbers in words and ordinals are those of `language` ("en-US").
    WordNumbering(pugi::xml_node numbering, std::string language);

    // Counts the paragraph as the next item of its list level and gives its
    // label ("2.", "iii)", "1.4", "•"), or "" when the list shows none.
    std::string nextLabel(const NumberingRef& ref);

private:
    static constexpr int kLevels = 9;  // Word's list levels

    struct Level {
        long start = 1;
        NumberStyle style = NumberStyle::Decimal;
        bool bullet = false;
        bool legal = false;  // every number shown in decimal
        std::string text;  // "%1.%2."
        std::string font;
    };
    using Levels = std::array<Level, kLevels>;
    struct Instance {
        std::string abstractId;
        Levels levels;  // the abstract list's levels with the instance's overrides
        bool ownCount = false;  // restarts its numbers instead of going on with its abstract list's
    };

    std::string label(const Levels& levels, const ListCount& count, int level) const;

    std::map<std::string, Instance, std::less<>> instances_;
    std::map<std::string, ListCount, std::less<>> counts_;
    std::string language_ = "en";
};

// Text written in a symbol font (bytes or the private-use characters
// U+F020..U+F0FF Word stores them as) with the characters that font draws.
std::string symbolFontText(std::string_view utf8, SymbolFont font);

}  // namespace leafmill::extract::docx
