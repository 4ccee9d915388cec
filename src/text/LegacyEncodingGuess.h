#pragma once

#include <string>
#include <string_view>

namespace leafmill {

// An encoding, by the converter name ICU opens and the name people know it by.
struct NamedEncoding {
    std::string converter;  // empty: none
    std::string label;  // "GBK", "windows-1251", "Shift_JIS"
};

// The encoding detector's guess among the legacy encodings (GBK, Big5,
// Shift_JIS, EUC-KR, the Cyrillic, Greek, Hebrew, Arabic and Thai pages, the
// windows and ISO-8859 pages, the 7-bit ISO-2022 forms) for the first bytes
// of a text that is not UTF-8; none when it has no guess or names an encoding
// ICU cannot read. The detector library is used here and nowhere else.
NamedEncoding guessLegacyEncoding(std::string_view sample);

}  // namespace leafmill
