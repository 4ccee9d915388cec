#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace leafmill::extract::doc {

// Files that arrive with a .doc ending but are no compound file: names what
// they are (Word 2, WordML, RTF, WordPerfect, a .docx...) in a refusal reason.
// Nothing for a compound file.
std::optional<std::string> foreignFormatReason(std::string_view bytes);

}  // namespace leafmill::extract::doc
