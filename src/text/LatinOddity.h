#pragma once

#include <cstddef>
#include <string_view>

namespace leafmill {

// How unlike prose in a language written in Latin letters a decoded text
// (UTF-8) is: 0 when its characters beyond ASCII are letters of one
// language's alphabet, standing where letters stand, and punctuation; more
// for each control or unmapped character, each symbol inside a word, each
// capital after a small letter, and each letter the text's language lacks.
// A Latin text read in the wrong code page shows several of these.
std::size_t latinOddity(std::string_view utf8);

}  // namespace leafmill
