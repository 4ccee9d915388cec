#include "convert/TextSource.h"

#include "convert/InputFile.h"

#include <cstdint>
#include <cstring>

namespace leafmill {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

TextForm formOfStart(std::string_view start)
{
    const auto startsWith = [&](std::string_view mark) { return start.starts_with(mark); };
    // UTF-32LE first: its mark begins with the UTF-16LE one.
    if (startsWith(std::string_view("\xFF\xFE\0\0", 4)))
        return TextForm::Utf32LE;
    if (startsWith(std::string_view("\0\0\xFE\xFF", 4)))
        return TextForm::Utf32BE;
    if (startsWith("\xFF\xFE"))
        return TextForm::Utf16LE;
    if (startsWith("\xFE\xFF"))
        return TextForm::Utf16BE;
    if (startsWith("\xEF\xBB\xBF"))
        return TextForm::Utf8Marked;
    return TextForm::CodePageBytes;
}

uint32_t unitAt(std::string_view bytes, std::size_t at, std::size_t size, bool bigEndian)
{
    uint32_t unit = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[at + (bigEndian ? i : size - 1 - i)]);
        unit = (unit << 8) | byte;
    }
    return unit;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool isSurrogate(uint32_t unit, uint32_t first)
{
    return unit >= first && unit < first + 0x400;
}

} // namespace

TextSourceCheck inspectTextSource(const std::filesystem::path& path)
{
    TextSourceCheck check;
    InputFile file;
    if (!file.open(path, &check.reason))
        return check;
    std::string block;
    bool first = true;
    TextForm form = TextForm::CodePageBytes;
    for (;;) {
        if (!file.read(block, 1 << 16, &check.reason))
            return check;
        if (block.empty())
            break;
        if (first) {
            form = formOfStart(block);
            first = false;
            if (form != TextForm::CodePageBytes && form != TextForm::Utf8Marked)
                break;
        }
        if (std::memchr(block.data(), 0, block.size())) {
            form = TextForm::Binary;
            break;
        }
    }
    check.form = form;
    return check;
}

std::size_t byteOrderMarkSize(TextForm form)
{
    switch (form) {
    case TextForm::Utf8Marked:
        return 3;
    case TextForm::Utf16LE:
    case TextForm::Utf16BE:
        return 2;
    case TextForm::Utf32LE:
    case TextForm::Utf32BE:
        return 4;
    default:
        return 0;
    }
}

std::string wideTextToUtf8(std::string_view bytes, TextForm form)
{
    const bool bigEndian = form == TextForm::Utf16BE || form == TextForm::Utf32BE;
    const bool wide32 = form == TextForm::Utf32LE || form == TextForm::Utf32BE;
    const std::size_t size = wide32 ? 4 : 2;
    std::string out;
    out.reserve(bytes.size());
    std::size_t at = byteOrderMarkSize(form);
    for (; at + size <= bytes.size(); at += size) {
        uint32_t unit = unitAt(bytes, at, size, bigEndian);
        if (!wide32 && isSurrogate(unit, 0xD800) && at + 2 * size <= bytes.size()) {
            const uint32_t low = unitAt(bytes, at + size, size, bigEndian);
            if (isSurrogate(low, 0xDC00)) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                at += size;
            }
        }
        const bool character = unit <= 0x10FFFF && !isSurrogate(unit, 0xD800) && !isSurrogate(unit, 0xDC00);
        appendUtf8(out, character ? static_cast<char32_t>(unit) : kReplacement);
    }
    // A last unit cut short.
    if (at < bytes.size())
        appendUtf8(out, kReplacement);
    return out;
}

} // namespace leafmill
