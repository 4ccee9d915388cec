#include "convert/PageNames.h"

#include "text/Utf8.h"

namespace leafmill {

namespace {

constexpr std::string_view kRefused = "\\/:*?\"<>|";

}  // namespace

std::string paddedNumber(int64_t value, std::size_t width)
{
    const std::string digits = std::to_string(value);
    return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

std::size_t utf16Length(std::string_view utf8)
{
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = validUtf8Length(utf8, i);
        units += length == 4 ? 2 : 1;
        i += length == 0 ? 1 : length;
    }
    return units;
}

std::string portableName(std::string_view utf8, std::size_t room)
{
    std::string name;
    std::size_t units = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = validUtf8Length(utf8, i);
        std::string_view character = utf8.substr(i, length == 0 ? 1 : length);
        i += character.size();
        const bool refused = length == 0 || static_cast<unsigned char>(character[0]) < 0x20 || character == "\x7F"
            || (length == 1 && kRefused.find(character[0]) != std::string_view::npos);
        if (refused)
            character = "_";
        const std::size_t width = length == 4 ? 2 : 1;
        if (units + width > room)
            break;
        name += character;
        units += width;
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
    return name;
}

std::size_t pageNumberWidth(int64_t pages)
{
    return std::max<std::size_t>(4, std::to_string(pages > 0 ? pages - 1 : 0).size());
}

std::string pageFileName(std::string_view stem, int64_t number, std::size_t width)
{
    return std::string(stem) + paddedNumber(number, width) + ".txt";
}

}  // namespace leafmill
