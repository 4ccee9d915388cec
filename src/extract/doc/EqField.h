#pragma once

#include <string>
#include <string_view>

namespace leafmill::extract::doc {

// What an EQ field shows when the document stores no result for it. Word
// writes phonetic guides as EQ \o\ad(\s\up 10(reading),base); a reader wants
// the base text, the last argument of the outermost group. Empty for other
// fields.
std::u16string eqFieldText(std::u16string_view instruction);

}  // namespace leafmill::extract::doc
