#include "text/StandardTables.h"

#include "text/AsciiCase.h"

#include <array>
#include <cstdint>

namespace leafmill {

namespace {

struct Cells {
    uint16_t first;
    uint16_t last;
};

// GB 2312-80 in EUC-CN: rows 1-9 symbols, rows 16-87 hanzi.
bool gb2312(uint8_t lead, uint8_t trail)
{
    return trail >= 0xA1 && trail <= 0xFE && ((lead >= 0xA1 && lead <= 0xA9) || (lead >= 0xB0 && lead <= 0xF7));
}

// Big5 without the ETEN and vendor rows: symbols, frequent and less frequent hanzi.
bool big5(uint8_t lead, uint8_t trail)
{
    static constexpr std::array<Cells, 3> kRanges {{{0xA140, 0xA3BF}, {0xA440, 0xC67E}, {0xC940, 0xF9D5}}};
    if (!((trail >= 0x40 && trail <= 0x7E) || (trail >= 0xA1 && trail <= 0xFE)))
        return false;
    const auto code = static_cast<uint16_t>(lead << 8 | trail);
    for (const Cells& range : kRanges)
        if (code >= range.first && code <= range.last)
            return true;
    return false;
}

// JIS X 0208 in Shift_JIS: rows 1-8 and 16-84; rows 9-15 (NEC's 13 among them)
// and the lead bytes from ED on belong to vendors and users.
bool jisX0208(uint8_t lead, uint8_t trail)
{
    const bool leads = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEA);
    const bool trails = (trail >= 0x40 && trail <= 0x7E) || (trail >= 0x80 && trail <= 0xFC);
    const auto code = static_cast<uint16_t>(lead << 8 | trail);
    return leads && trails && !(code >= 0x8540 && code <= 0x889E);
}

// KS X 1001 in EUC-KR, without the user-defined rows 41 and 94.
bool ksX1001(uint8_t lead, uint8_t trail)
{
    return lead >= 0xA1 && lead <= 0xFD && lead != 0xC9 && trail >= 0xA1 && trail <= 0xFE;
}

constexpr std::array<StandardTable, 4> kTables {{
    {"gb2312", gb2312, false},
    {"big5", big5, false},
    {"shift_jis", jisX0208, true},
    {"euc-kr", ksX1001, false},
}};

}  // namespace

const StandardTable* StandardTable::of(std::string_view key)
{
    const std::string lowered = asciiLowered(key);
    for (const StandardTable& table : kTables)
        if (table.key == lowered)
            return &table;
    return nullptr;
}

bool StandardTable::holds(std::string_view bytes) const
{
    const auto byte = [&](std::size_t i) { return static_cast<uint8_t>(bytes[i]); };
    if (bytes.size() == 1)
        return byte(0) < 0x80 || (halfWidthKana && byte(0) >= 0xA1 && byte(0) <= 0xDF);
    return bytes.size() == 2 && twoBytes(byte(0), byte(1));
}

}  // namespace leafmill
