#pragma once

#include "text/SymbolFonts.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace leafmill::extract::doc {

struct Fib;

// Which fonts of a Word 97-2003 font table (SttbfFfn) are symbol fonts whose
// codes are glyph numbers, by font index.
class FontTable {
public:
    // An empty table when the document has none or it cannot be read.
    static FontTable read(std::string_view table, const Fib& fib);

    // SymbolFont::None for a text font and for an index the table lacks.
    SymbolFont symbolFont(std::uint16_t ftc) const
    {
        return ftc < fonts_.size() ? fonts_[ftc] : SymbolFont::None;
    }

private:
    std::vector<SymbolFont> fonts_;
};

}  // namespace leafmill::extract::doc
