#pragma once

#include "convert/SourceDispatch.h"

#include <string>
#include <string_view>

namespace leafmill {

class InputFile;

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
ContentChoice chooseByContent(const std::string& path, InputFile& file, const SourceKind& named,
                              const DispatchTable& table);
// The same for bytes in memory (all of a zip package) whose name ends in
// `nameEnding`.
ContentChoice chooseByContent(std::string_view bytes, const SourceKind& named, const DispatchTable& table,
                              std::string_view nameEnding);

// The row a source is read by: its name's, checked by chooseByContent; its
// content's when its name ends in no row's ending (without a warning, as the
// name said nothing). A null kind when neither tells.
ContentChoice chooseSourceKind(const std::string& path, InputFile& file, const DispatchTable& table);
// The same for the file at the path, opened for the purpose.
ContentChoice chooseSourceKind(const std::string& path, const DispatchTable& table);

// The row of the table that reads bytes of this content, or null
// (contentEnding's rules: a zip package must be whole).
const SourceKind* findKindByContent(std::string_view bytes, const DispatchTable& table);

}  // namespace leafmill
