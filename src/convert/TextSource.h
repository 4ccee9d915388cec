#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace leafmill {

// How a text source holds its characters, from its first bytes and whether
// it holds a NUL byte anywhere.
enum class TextForm {
    CodePageBytes,  // cut as it is
    Utf8Marked,  // cut as it is, without its byte-order mark
    Utf16LE,
    Utf16BE,
    Utf32LE,
    Utf32BE,
    Binary,  // NUL bytes and no byte-order mark: no text in any code page
    Unreadable,
};

struct TextSourceCheck {
    TextForm form = TextForm::Unreadable;
    std::string reason;  // the system's words when unreadable
};

TextSourceCheck inspectTextSource(const std::filesystem::path& path);

// The form its byte-order mark gives a text, code-page bytes without one.
TextForm markedTextForm(std::string_view start);

// Bytes of the byte-order mark that starts a source of that form.
std::size_t byteOrderMarkSize(TextForm form);

// A UTF-16 or UTF-32 text, byte-order mark first, as UTF-8 without the mark;
// a unit that is no character becomes U+FFFD.
std::string wideTextToUtf8(std::string_view bytes, TextForm form);

}  // namespace leafmill
