#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace leafmill::extract::doc {

// A run of the WordDocument stream [start, end) with the formatting stored
// for it: the paragraph style (paragraph runs only) and the property
// modifiers applied on top of the style.
struct FormattingRun {
    std::uint32_t start = 0;
    std::uint32_t end = 0;
    std::uint16_t istd = 0;
    std::string_view grpprl;  // into the WordDocument stream
};

// The paragraph or character formatting of a Word 97-2003 document: the
// formatting pages (FKPs, 512 bytes each, in the WordDocument stream) that
// the table stream's bin table (PlcfBtePapx, PlcfBteChpx) names.
class FormattingRuns {
public:
    enum class Kind { Paragraph, Character };

    // Nothing when the bin table or a page it names cannot be read.
    static std::optional<FormattingRuns> read(std::string_view wordDocument, std::string_view table,
                                              std::uint32_t fcBinTable, std::uint32_t lcbBinTable, Kind kind);

    // The run holding this stream offset, or null.
    const FormattingRun* at(std::uint32_t streamOffset) const;

private:
    void addPage(std::string_view page, Kind kind);

    std::vector<FormattingRun> runs_;  // sorted by start
};

}  // namespace leafmill::extract::doc
