#include "convert/TextSource.h"

#include "convert/InputFile.h"
#include "text/Utf8.h"

#include <cstdint>
#include <cstring>

namespace leafmill {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

uint32_t unitAt(std::string_view bytes, std::size_t at, std::size_t size, bool bigEndian)
{
    uint32_t unit = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[at + (bigEndian ? i : size - 1 - i)]);
        unit = (unit << 8) | byte;
    }
    return unit;
}

}  // namespace

TextForm markedTextForm(std::string_view start)
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
            form = markedTextForm(block);
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
        if (!wide32 && isHighSurrogate(unit) && at + 2 * size <= bytes.size()) {
            const uint32_t low = unitAt(bytes, at + size, size, bigEndian);
            if (isLowSurrogate(low)) {
                unit = fromSurrogates(unit, low);
                at += size;
            }
        }
        appendUtf8(static_cast<char32_t>(unit), out);  // lone surrogates and values past U+10FFFF become U+FFFD
    }
    // A last unit cut short.
    if (at < bytes.size())
        appendUtf8(kReplacement, out);
    return out;
}

}  // namespace leafmill
