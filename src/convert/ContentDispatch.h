#pragma once

#include "convert/SourceDispatch.h"

#include <string>
#include <string_view>

namespace leafmill {

// What a source is by its bytes, whatever its name ends in: the ending of the
// dispatch row that reads it (".rtf", ".doc", "docx", ".txt"...), or empty
// when the bytes are of no kind Leafmill recognises. `bytes` may be only
// the start of the file, except for zip packages, whose kind is in their
// directory at the end.
std::string_view contentEnding(std::string_view bytes);

// The row a source is read by: the one its content calls for when that is
// another reader than its ending's, with a warning saying so. Text stays
// with an ending whose reader takes text (an HTML page), and HTML saved as
// text stays text. A file that cannot be read, or whose bytes are of no
// known kind, keeps its ending's row, whose reader then gives the reason.
struct ContentChoice {
    const SourceKind* kind = nullptr;
    std::string warning;
};
ContentChoice chooseByContent(const std::string& path, const SourceKind& named, const DispatchTable& table);

}  // namespace leafmill
