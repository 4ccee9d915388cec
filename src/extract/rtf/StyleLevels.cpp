#include "extract/rtf/StyleLevels.h"

namespace leafmill::extract::rtf {

namespace {

// "heading 1".."heading 9" in any case, as the built-in styles are named.
int32_t headingLevelOfName(std::string_view name)
{
    while (!name.empty() && name.front() == ' ')
        name.remove_prefix(1);
    constexpr std::string_view prefix = "heading ";
    if (name.size() != prefix.size() + 1)
        return -1;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if ((name[i] | 0x20) != prefix[i])
            return -1;
    const char digit = name.back();
    return digit >= '1' && digit <= '9' ? digit - '1' : -1;
}

}  // namespace

// An entry's name ends at its ';'; the next entry starts afresh.
void StyleLevels::onNameText(std::string_view bytes)
{
    for (char c : bytes) {
        if (c != ';') {
            if (name_.size() < 64)
                name_ += c;
            continue;
        }
        if (const int32_t level = headingLevelOfName(name_); level >= 0)
            levels_.try_emplace(number_, level);
        number_ = 0;
        name_.clear();
    }
}

int32_t StyleLevels::levelOf(int32_t style) const
{
    const auto it = levels_.find(style);
    return it == levels_.end() ? -1 : it->second;
}

}  // namespace leafmill::extract::rtf
