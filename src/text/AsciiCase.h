#pragma once

#include <cstddef>
#include <cstdint>
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

// The first `size` characters of a text in UTF-16 or UTF-32 that starts with
// its byte-order mark, a byte each: ASCII as it is, anything else as 0x80.
// Empty when `bytes` has no such mark.
inline std::string narrowedWideHead(std::string_view bytes, std::size_t size)
{
    const bool wide32 = bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4))
        || bytes.starts_with(std::string_view("\xFF\xFE\0\0", 4));
    const bool bigEndian = bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4)) || bytes.starts_with("\xFE\xFF");
    if (!wide32 && !bigEndian && !bytes.starts_with("\xFF\xFE"))
        return {};
    const std::size_t unit = wide32 ? 4 : 2;
    std::string narrow;
    for (std::size_t at = unit; bytes.size() - at >= unit && narrow.size() < size; at += unit) {
        std::uint32_t value = 0;
        for (std::size_t k = 0; k < unit; ++k)
            value = value << 8 | static_cast<unsigned char>(bytes[bigEndian ? at + k : at + unit - 1 - k]);
        narrow += value < 0x80 ? static_cast<char>(value) : '\x80';
    }
    return narrow;
}

// The first bytes of a file's text, lower-cased, after a byte-order mark and
// white space: what a format sniffer compares with. Text in UTF-16 or UTF-32
// is narrowed first, so that its markup is seen.
inline std::string lowerCasedHead(std::string_view bytes, std::size_t size = 4096)
{
    if (const std::string narrow = narrowedWideHead(bytes, size + 4096); !narrow.empty())
        return lowerCasedHead(narrow, size);
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
