#pragma once

#include <pugixml.hpp>

#include <map>
#include <string>
#include <string_view>

namespace leafmill::extract::docx {

// The list a paragraph belongs to: its numbering instance and level.
struct NumberingRef {
    std::string numId;  // "" for none given, "0" for "no numbering"
    int level = -1;  // -1 for none given
};

// What a paragraph takes from its style: outline level and list.
struct ParagraphStyle {
    int outlineLevel = 0;  // 1 for the top heading level, 0 for body text
    NumberingRef numbering;
};

// The paragraph styles of styles.xml, each with what it inherits through
// its based-on chain.
class WordStyles {
public:
    WordStyles() = default;
    explicit WordStyles(pugi::xml_node styles);

    // The style of that id, else the default paragraph style.
    const ParagraphStyle& paragraph(std::string_view styleId) const;

    // The language the document's text is in by default ("en-US"), or "".
    const std::string& language() const { return language_; }

private:
    std::map<std::string, ParagraphStyle, std::less<>> styles_;
    ParagraphStyle default_;
    std::string language_;
};

// The outline level a w:outlineLvl element gives (0 when it names body text).
int outlineLevelOf(pugi::xml_node outlineLvl);

// A w:numPr element's list.
NumberingRef numberingOf(pugi::xml_node numPr);

}  // namespace leafmill::extract::docx
