#pragma once

#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace leafmill {

// Case-blind handling of the ASCII letters of names, tags and endings; bytes
// above 127 (UTF-8 sequences) stay as they are.
constexpr char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string asciiLowered(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = asciiLower(c);
    return out;
}

// Whether `text` equals `lowerWord` (given in lower case), letter case ignored.
inline bool equalsNoCase(std::string_view text, std::string_view lowerWord)
{
    if (text.size() != lowerWord.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (asciiLower(text[i]) != lowerWord[i])
            return false;
    return true;
}

// The first bytes of a file's text, lower-cased, after a UTF-8 byte-order
// mark and white space: what a format sniffer compares with.
inline std::string lowerCasedHead(std::string_view bytes, std::size_t size = 4096)
{
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    while (!bytes.empty() && (bytes.front() == ' ' || (bytes.front() >= '\t' && bytes.front() <= '\r')))
        bytes.remove_prefix(1);
    return asciiLowered(bytes.substr(0, size));
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

}  // namespace leafmill
