#include "convert/HeadingLines.h"

#include "text/AsciiCase.h"

#include <array>
#include <cctype>
#include <string>

namespace leafmill {

namespace {

// A heading line is short; a sentence that begins "Part of the ..." is not.
constexpr std::size_t kLongestHeading = 80;

constexpr std::array<std::string_view, 30> kNumberWords
    = {"one",    "two",    "three",    "four",     "five",    "six",     "seven",     "eight",    "nine",     "ten",
       "eleven", "twelve", "thirteen", "fourteen", "fifteen", "sixteen", "seventeen", "eighteen", "nineteen", "twenty",
       "thirty", "forty",  "fifty",    "sixty",    "seventy", "eighty",  "ninety",    "hundred",  "first",    "last"};

// Han numerals and the words that end a heading such as 第十二章.
constexpr std::array<std::string_view, 16> kHanDigits
    = {"〇", "零", "一", "二", "三", "四", "五", "六", "七", "八", "九", "十", "百", "千", "两", "廿"};
constexpr std::array<std::string_view, 7> kHanUnits = {"章", "回", "节", "卷", "部", "篇", "集"};

bool isNumberToken(std::string_view token)
{
    if (token.empty())
        return false;
    bool digits = true;
    bool roman = true;
    for (char c : token) {
        digits = digits && std::isdigit(static_cast<unsigned char>(c));
        roman = roman && std::string_view("ivxlcdmIVXLCDM").find(c) != std::string_view::npos;
    }
    if (digits || roman)
        return true;
    const std::string word = asciiLowered(token);
    for (std::string_view number : kNumberWords)
        if (word.starts_with(number))
            return true;
    return false;
}

bool startsWithAny(std::string_view text, std::size_t at, const auto& words, std::size_t* length)
{
    for (std::string_view word : words)
        if (text.substr(at, word.size()) == word) {
            *length = word.size();
            return true;
        }
    return false;
}

bool isHanHeading(std::string_view line)
{
    constexpr std::string_view kOrdinal = "第";
    if (!line.starts_with(kOrdinal))
        return false;
    std::size_t at = kOrdinal.size();
    std::size_t length = 0;
    const std::size_t numberStart = at;
    while (at < line.size()) {
        if (std::isdigit(static_cast<unsigned char>(line[at])))
            ++at;
        else if (startsWithAny(line, at, kHanDigits, &length))
            at += length;
        else
            break;
    }
    return at > numberStart && startsWithAny(line, at, kHanUnits, &length);
}

std::string_view trimmed(std::string_view line)
{
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

}  // namespace

int headingLevel(std::string_view line)
{
    line = trimmed(line);
    if (line.empty() || line.size() > kLongestHeading)
        return 0;
    if (isHanHeading(line))
        return 2;
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos)
        return 0;
    const std::string first = asciiLowered(line.substr(0, space));
    const int level = first == "chapter" ? 2 : (first == "part" || first == "book") ? 1 : 0;
    if (level == 0)
        return 0;
    std::string_view rest = line.substr(space + 1);
    const std::size_t end = rest.find_first_of(" .:,;-");
    std::string_view token = rest.substr(0, end);
    // "Part of the way" is prose: a number must follow the word.
    if (!isNumberToken(token))
        return 0;
    return level;
}

std::vector<extract::Chapter> headingLines(std::string_view utf8)
{
    std::vector<extract::Chapter> chapters;
    // Lines end at CR LF, CR or LF.
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = utf8.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = utf8.size();
        const std::string_view line = utf8.substr(start, end - start);
        if (const int level = headingLevel(line))
            chapters.push_back({std::string(trimmed(line)), start, level});
        start = end + (utf8.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    return chapters;
}

}  // namespace leafmill
