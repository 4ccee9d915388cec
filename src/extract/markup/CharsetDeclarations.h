#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract {

// How far into a page a <meta> declaration of its character set is looked
// for.
inline constexpr std::size_t kCharsetDeclarationWindow = 1024;

// The character-set names that <meta> tags starting in the first 1,024
// bytes declare, in the order written, as written (lower case): both
// <meta charset="..."> and the http-equiv form
// <meta http-equiv="Content-Type" content="text/html; charset=...">.
std::vector<std::string> declaredCharsets(std::string_view bytes);

}  // namespace leafmill::extract
