#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace leafmill::extract::doc {

// A PLC of the table stream: n + 1 ascending character positions and n
// entries of fixed size, entry i belonging to [cps[i], cps[i + 1]).
struct Plc {
    std::vector<std::uint32_t> cps;
    std::string_view entries;
    std::size_t entrySize = 0;

    std::size_t count() const { return cps.empty() ? 0 : cps.size() - 1; }
    std::string_view entry(std::size_t i) const { return entries.substr(i * entrySize, entrySize); }

    // Nothing when the range lies outside the stream, its size fits no whole
    // number of entries or the positions go backwards.
    static std::optional<Plc> read(std::string_view table, std::uint32_t fc, std::uint32_t lcb, std::size_t entrySize);
};

}  // namespace leafmill::extract::doc
