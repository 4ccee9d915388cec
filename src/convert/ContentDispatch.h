#pragma once

#include "extract/Formats.h"

#include <string>
#include <string_view>

namespace leafmill {

class InputFile;

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

}  // namespace leafmill
