#pragma once

#include "extract/common/ListNumbers.h"
#include "text/SymbolFonts.h"

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::doc {

class FontTable;
struct Fib;

// The lists of a Word 97-2003 document (the table stream's PlfLst with its
// levels, and the PlfLfo whose overrides paragraphs name) and their running
// counts: each list paragraph takes its label, as Word shows it, in
// document order.
class ListTables {
public:
    static constexpr int kLevels = 9;

    // No lists when the document has none or they cannot be read.
    static ListTables read(std::string_view table, const Fib& fib, const FontTable& fonts);

    // Counts a paragraph as the next item of level `ilvl` of list override
    // `ilfo` (1-based) and gives its label with what follows it ("2.\t",
    // "iii) ", "1.4\t", "•\t"); "" for a paragraph in no list or in one the
    // document does not define.
    std::string nextLabel(int ilfo, int ilvl);

private:
    struct Level {
        long start = 1;
        NumberStyle style = NumberStyle::Decimal;
        bool bullet = false;
        bool legal = false;  // every number shown in decimal
        std::u16string text;  // characters 0..8 stand for the numbers of those levels
        char follow = '\t';
        SymbolFont font = SymbolFont::None;
    };
    using Levels = std::array<Level, kLevels>;
    struct Override {
        Levels levels;  // the list's levels with the override's changes
        std::int64_t countKey = 0;  // the list's own count, or the override's when it restarts numbers
    };

    static std::size_t readLevel(std::string_view bytes, std::size_t pos, const FontTable& fonts, Level& level);
    std::string label(const Levels& levels, const ListCount& count, int ilvl) const;

    std::vector<Override> overrides_;  // by ilfo - 1
    std::map<std::int64_t, ListCount> counts_;
};

}  // namespace leafmill::extract::doc
