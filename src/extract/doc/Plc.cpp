#include "extract/doc/Plc.h"

#include "extract/doc/LittleEndian.h"

namespace leafmill::extract::doc {

std::optional<Plc> Plc::read(std::string_view table, std::uint32_t fc, std::uint32_t lcb, std::size_t entrySize)
{
    if (lcb < 4 || (lcb - 4) % (4 + entrySize) != 0 || fc > table.size() || lcb > table.size() - fc)
        return std::nullopt;
    const std::string_view bytes = table.substr(fc, lcb);
    const std::size_t count = (lcb - 4) / (4 + entrySize);
    Plc plc;
    plc.entrySize = entrySize;
    plc.cps.reserve(count + 1);
    for (std::size_t i = 0; i <= count; ++i) {
        plc.cps.push_back(readU32(bytes, 4 * i, "a position table"));
        if (i > 0 && plc.cps[i] < plc.cps[i - 1])
            return std::nullopt;
    }
    plc.entries = bytes.substr(4 * (count + 1));
    return plc;
}

}  // namespace leafmill::extract::doc
