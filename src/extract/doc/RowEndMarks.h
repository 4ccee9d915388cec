#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace leafmill::extract::doc {

struct Fib;

// Which cell marks end a table row. A row ends with an extra cell mark whose
// paragraph carries the "table terminating paragraph" property; that property
// sits in the paragraph formatting pages (PAPX FKPs) named by the table
// stream's PlcfBtePapx. Kept as the stream ranges of those paragraphs.
class RowEndMarks {
public:
    // Nothing when the paragraph formatting cannot be read; the caller then
    // guesses row ends from the text.
    static std::optional<RowEndMarks> read(std::string_view wordDocument, std::string_view table, const Fib& fib);

    // Whether the paragraph mark stored at this stream offset ends a row.
    bool endsRow(std::uint32_t streamOffset) const;

private:
    void addPage(std::string_view page);

    std::vector<std::pair<std::uint32_t, std::uint32_t>> ranges_;  // [start, end), sorted
};

}  // namespace leafmill::extract::doc
