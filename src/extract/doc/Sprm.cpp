#include "extract/doc/Sprm.h"

namespace leafmill::extract::doc {

namespace {

std::size_t byteAt(std::string_view bytes, std::size_t pos)
{
    return pos < bytes.size() ? static_cast<unsigned char>(bytes[pos]) : 0;
}

// The size of a modifier's operand from its spra bits; variable operands
// carry their size in front. SIZE_MAX when the size itself is cut short.
std::size_t operandSize(std::uint16_t code, std::string_view grpprl, std::size_t pos)
{
    switch (code >> 13) {
    case 0:
    case 1:
        return 1;
    case 2:
    case 4:
    case 5:
        return 2;
    case 3:
        return 4;
    case 7:
        return 3;
    default:
        break;
    }
    if (pos + 2 > grpprl.size())
        return SIZE_MAX;
    if (code == kSprmTDefTable)
        return (byteAt(grpprl, pos) | byteAt(grpprl, pos + 1) << 8) + 1;
    const std::size_t size = byteAt(grpprl, pos);
    if (code == kSprmPChgTabs && size == 255) {
        // Counted lists instead: deleted tabs (position and closeness), added tabs (position and kind).
        const std::size_t deleted = byteAt(grpprl, pos + 1);
        const std::size_t added = byteAt(grpprl, pos + 2 + 4 * deleted);
        return 1 + 1 + 4 * deleted + 1 + 3 * added;
    }
    return size + 1;
}

}  // namespace

bool SprmReader::next(Sprm& sprm)
{
    if (pos_ + 2 > grpprl_.size())
        return false;
    sprm.code = static_cast<std::uint16_t>(byteAt(grpprl_, pos_) | byteAt(grpprl_, pos_ + 1) << 8);
    const std::size_t size = operandSize(sprm.code, grpprl_, pos_ + 2);
    if (size > grpprl_.size() - pos_ - 2) {
        pos_ = grpprl_.size();
        return false;
    }
    sprm.operand = grpprl_.substr(pos_ + 2, size);
    // The variable operands' size bytes are not part of what they say.
    if ((sprm.code >> 13) == 6 && sprm.code != kSprmTDefTable && sprm.code != kSprmPChgTabs)
        sprm.operand.remove_prefix(1);
    pos_ += 2 + size;
    return true;
}

}  // namespace leafmill::extract::doc
