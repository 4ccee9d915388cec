#include "extract/doc/EightBitText.h"

#include "extract/common/RtfCharsets.h"
#include "text/CodePage.h"

#include <string_view>

namespace leafmill::extract::doc {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// The single character that well-formed UTF-8 holds, or U+FFFD when it holds
// none, several, or one outside the Basic Multilingual Plane.
char16_t onlyCharacter(std::string_view utf8)
{
    if (utf8.size() == 1 && static_cast<unsigned char>(utf8[0]) < 0x80)
        return static_cast<unsigned char>(utf8[0]);
    const auto byte = [&](std::size_t i) { return static_cast<char16_t>(static_cast<unsigned char>(utf8[i]) & 0x3F); };
    const auto lead = utf8.empty() ? 0 : static_cast<unsigned char>(utf8[0]);
    if (utf8.size() == 2 && (lead & 0xE0) == 0xC0)
        return static_cast<char16_t>((lead & 0x1F) << 6 | byte(1));
    if (utf8.size() == 3 && (lead & 0xF0) == 0xE0)
        return static_cast<char16_t>((lead & 0x0F) << 12 | byte(1) << 6 | byte(2));
    return kReplacement;
}

}  // namespace

EightBitText::EightBitText(std::shared_ptr<const CodePage> page)
    : page_(std::move(page))
{
    for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const std::string_view one(&byte, 1);
        // A byte that needs a second one leads a double-byte character.
        const std::string lead {byte, 'A'};
        leads_[b] = page_->charLength(lead, 0) == 2;
        units_[b] = leads_[b] ? kReplacement : onlyCharacter(page_->toUtf8(one));
    }
}

EightBitText EightBitText::forWord6(std::uint16_t lid, bool mac, const CodePage* fallback,
                                    std::vector<std::string>& warnings)
{
    const int number = codePageOfLanguage(lid, mac);
    for (const std::string& name : converterNamesOf(number))
        if (std::shared_ptr<const CodePage> page = CodePage::open(name))
            return EightBitText(std::move(page));
    std::shared_ptr<const CodePage> page = CodePage::open(fallback ? fallback->name() : "windows-1252");
    warnings.push_back("code page " + std::to_string(number)
                       + " of the document is not available; its text was read as " + page->name());
    return EightBitText(std::move(page));
}

char16_t EightBitText::pair(unsigned char lead, unsigned char trail) const
{
    const std::uint16_t key = static_cast<std::uint16_t>(lead << 8 | trail);
    const auto known = pairs_.find(key);
    if (known != pairs_.end())
        return known->second;
    const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    const char16_t unit = onlyCharacter(page_->toUtf8(std::string_view(bytes, 2)));
    pairs_.emplace(key, unit);
    return unit;
}

int codePageOfLanguage(std::uint16_t lid, bool mac)
{
    // Chinese, Serbian and Bosnian choose their script by sublanguage.
    switch (lid) {
    case 0x0404:
    case 0x0C04:
    case 0x1404:
        return mac ? 10002 : 950;
    case 0x0804:
    case 0x1004:
        return mac ? 10008 : 936;
    case 0x0C1A:
    case 0x201A:
        return mac ? 10007 : 1251;
    case 0x081A:
    case 0x141A:
        return mac ? 10029 : 1250;
    default:
        break;
    }
    switch (lid & 0x3FF) {
    case 0x02:
    case 0x19:
    case 0x22:
    case 0x23:
    case 0x2F:
    case 0x3F:
    case 0x40:
    case 0x43:
    case 0x44:
    case 0x50:
        return mac ? 10007 : 1251;  // Bulgarian, Russian, Ukrainian, Belarusian, Macedonian, Kazakh, ...
    case 0x05:
    case 0x0E:
    case 0x15:
    case 0x18:
    case 0x1A:
    case 0x1B:
    case 0x1C:
    case 0x24:
        return mac ? 10029 : 1250;  // Czech, Hungarian, Polish, Romanian, Croatian, Slovak, Albanian, Slovenian
    case 0x08:
        return mac ? 10006 : 1253;  // Greek
    case 0x1F:
        return mac ? 10081 : 1254;  // Turkish
    case 0x0D:
        return 1255;  // Hebrew
    case 0x01:
    case 0x20:
    case 0x29:
        return 1256;  // Arabic, Urdu, Farsi
    case 0x25:
    case 0x26:
    case 0x27:
        return 1257;  // Estonian, Latvian, Lithuanian
    case 0x2A:
        return 1258;  // Vietnamese
    case 0x1E:
        return 874;  // Thai
    case 0x11:
        return mac ? 10001 : 932;  // Japanese
    case 0x12:
        return mac ? 10003 : 949;  // Korean
    default:
        return mac ? 10000 : 1252;
    }
}

}  // namespace leafmill::extract::doc
