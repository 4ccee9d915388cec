#pragma once

#include <optional>
#include <string_view>

namespace leafmill::extract::doc {

// The paragraph properties the reader uses: list membership, outline level
// and the row-end flag of tables. Unset fields leave the style's value.
struct ParagraphFormat {
    std::optional<int> ilfo;  // 1-based list format override, 0: in no list
    std::optional<int> ilvl;  // list level 0..8
    std::optional<int> outlineLevel;  // 0..8; 9 is body text
    bool rowEnd = false;

    // Applies a list of property modifiers on top of this format.
    void apply(std::string_view grpprl);
};

}  // namespace leafmill::extract::doc
