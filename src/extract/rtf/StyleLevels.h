#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace leafmill::extract::rtf {

// The outline level each paragraph style of the style sheet gives its
// paragraphs: its own \outlinelevel, or for a built-in "heading N" style
// without one, N - 1. Some writers put the level only in the style sheet,
// so a heading paragraph names just its style (\sN).
class StyleLevels {
public:
    // While the style sheet is read, in the order of its words and text.
    void onStyleNumber(int32_t number) { number_ = number; }
    void onOutlineLevel(int32_t level) { levels_[number_] = level; }
    void onNameText(std::string_view bytes);

    // -1: the style gives no level.
    int32_t levelOf(int32_t style) const;

private:
    int32_t number_ = 0;  // an entry without \s is style 0
    std::string name_;
    std::map<int32_t, int32_t> levels_;
};

}  // namespace leafmill::extract::rtf
