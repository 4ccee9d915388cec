#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace leafmill::extract {

// The character that the named entity `name` (without '&' and ';') stands
// for: the 252 entities of HTML 4 and &apos;. Names are case-sensitive
// (&Eacute; is not &eacute;), except that nbsp, amp, quot, lt and gt are
// known in any letter case, as old pages write them. &nbsp; stands for a
// plain space, so that words around it still part in the code page.
std::optional<char32_t> namedEntity(std::string_view name);

// Appends `text` to `out` with every character reference decoded once, left
// to right: named ones (&eacute;), decimal (&#233;) and hexadecimal
// (&#xE9;), each with its semicolon. What a reference yields is not looked at
// again, so "&amp;lt;" gives "&lt;". Unknown references stay as written.
void appendDecodingReferences(std::string_view text, std::string& out);

}  // namespace leafmill::extract
