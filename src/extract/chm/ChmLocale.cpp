#include "extract/chm/ChmLocale.h"

#include <utility>

namespace leafmill::extract::chm {

namespace {

// Whole locales where the language alone does not decide the script.
constexpr std::pair<std::uint32_t, std::string_view> kLocales[] = {
    {0x0804, "GBK"},          {0x1004, "GBK"},          {0x0404, "Big5"},
    {0x0C04, "Big5"},         {0x1404, "Big5"},         {0x0C1A, "windows-1251"},
    {0x1C1A, "windows-1251"}, {0x082C, "windows-1251"}, {0x0843, "windows-1251"},
};

// Primary languages (the low ten bits of a locale).
constexpr std::pair<std::uint32_t, std::string_view> kLanguages[] = {
    {0x04, "GBK"},          {0x11, "Shift_JIS"},    {0x12, "windows-949"},  {0x1E, "windows-874"},
    {0x02, "windows-1251"}, {0x19, "windows-1251"}, {0x22, "windows-1251"}, {0x23, "windows-1251"},
    {0x2F, "windows-1251"}, {0x3F, "windows-1251"}, {0x40, "windows-1251"}, {0x44, "windows-1251"},
    {0x50, "windows-1251"}, {0x05, "windows-1250"}, {0x0E, "windows-1250"}, {0x15, "windows-1250"},
    {0x18, "windows-1250"}, {0x1A, "windows-1250"}, {0x1B, "windows-1250"}, {0x1C, "windows-1250"},
    {0x24, "windows-1250"}, {0x08, "windows-1253"}, {0x1F, "windows-1254"}, {0x2C, "windows-1254"},
    {0x43, "windows-1254"}, {0x0D, "windows-1255"}, {0x01, "windows-1256"}, {0x20, "windows-1256"},
    {0x29, "windows-1256"}, {0x25, "windows-1257"}, {0x26, "windows-1257"}, {0x27, "windows-1257"},
    {0x2A, "windows-1258"},
};

}  // namespace

std::string_view localeEncoding(std::uint32_t lcid)
{
    for (const auto& [locale, encoding] : kLocales)
        if (locale == lcid)
            return encoding;
    for (const auto& [language, encoding] : kLanguages)
        if (language == (lcid & 0x3FF))
            return encoding;
    return "windows-1252";
}

}  // namespace leafmill::extract::chm
