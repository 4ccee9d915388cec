#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace leafmill::extract {

// Case-blind comparison for the ASCII letters of tag and entity names; bytes
// above 127 (UTF-8 sequences) are compared as they are.
constexpr char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether `text` at `pos` begins with `lowerWord` (given in lower case).
inline bool startsWithNoCase(std::string_view text, std::size_t pos, std::string_view lowerWord)
{
    if (pos > text.size() || text.size() - pos < lowerWord.size())
        return false;
    for (std::size_t i = 0; i < lowerWord.size(); ++i) {
        if (asciiLower(text[pos + i]) != lowerWord[i])
            return false;
    }
    return true;
}

// The first position at or after `from` where `lowerWord` starts, letter case
// ignored; npos when there is none. `lowerWord` is in lower case and starts
// with a character that is not a letter ('<' of a tag), which memchr finds.
inline std::size_t findNoCase(std::string_view text, std::string_view lowerWord, std::size_t from = 0)
{
    while (from < text.size() && text.size() - from >= lowerWord.size()) {
        const void* hit = std::memchr(text.data() + from, lowerWord.front(), text.size() - from);
        if (!hit)
            return std::string_view::npos;
        const auto pos = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        if (startsWithNoCase(text, pos, lowerWord))
            return pos;
        from = pos + 1;
    }
    return std::string_view::npos;
}

}  // namespace leafmill::extract
