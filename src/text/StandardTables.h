#pragma once

#include <cstdint>
#include <string_view>

namespace leafmill {

// The national character tables as their standards lay them out (GB 2312,
// Big5, JIS X 0208 in Shift_JIS, KS X 1001 in EUC-KR). The converters that
// carry these names also map the vendors' additions (GBK, cp950, NEC and IBM
// rows, user-defined areas), which a reader that knows only the standard
// shows as garbage.
//
class StandardTable {
public:
    // The table a settings name stands for (letter case ignored), or null.
    static const StandardTable* of(std::string_view key);

    // Whether the bytes of one character lie in the standard's cells.
    bool holds(std::string_view characterBytes) const;

    std::string_view key;
    bool (*twoBytes)(uint8_t lead, uint8_t trail);
    bool halfWidthKana;  // single bytes A1-DF
};

}  // namespace leafmill
