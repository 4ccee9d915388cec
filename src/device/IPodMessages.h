#pragma once

#include <cstdint>
#include <string>

namespace leafmill {

struct IPodChange;
class LanguageTable;

// A size in bytes as people read it: "812 KB", "3.4 GB".
std::string readableSize(std::uintmax_t bytes);

// What became of a change to an iPod, in the language: `doneText` (a string
// number holding "@Book" and "@Count") when it was made, else the reason it
// was not. `folder` is the book folder the user named.
std::string changeMessage(const LanguageTable& language, const IPodChange& change, int doneText,
                          const std::string& folder);

}  // namespace leafmill
