#include "extract/doc/PieceTable.h"

#include "extract/doc/DocFormatError.h"
#include "extract/doc/LittleEndian.h"

namespace leafmill::extract::doc {

namespace {

constexpr std::uint8_t kPrc = 0x01;
constexpr std::uint8_t kPcdt = 0x02;
constexpr std::size_t kPcdSize = 8;
constexpr std::uint32_t kCompressedFlag = 0x40000000;
constexpr std::uint32_t kFcMask = 0x3FFFFFFF;

}  // namespace

PieceTable PieceTable::parse(std::string_view clx)
{
    return parsePieces(clx, Offsets::Word97);
}

PieceTable PieceTable::parseWord6(std::string_view clx, std::uint32_t fcMin, std::uint32_t fcMac,
                                  const EightBitText& eightBit)
{
    PieceTable table;
    if (!clx.empty()) {
        table = parsePieces(clx, Offsets::Word6);
    } else {
        if (fcMac < fcMin)
            throw DocFormatError("the document's text ends before it begins");
        table.pieces_.push_back(Piece {0, fcMac - fcMin, fcMin, true});
    }
    table.eightBit_ = &eightBit;
    return table;
}

PieceTable PieceTable::parsePieces(std::string_view clx, Offsets offsets)
{
    std::size_t pos = 0;
    while (pos < clx.size() && static_cast<std::uint8_t>(clx[pos]) == kPrc) {
        const std::size_t cbGrpprl = readU16(clx, pos + 1, "the piece table's formatting");
        pos += 3 + cbGrpprl;
    }
    if (pos >= clx.size() || static_cast<std::uint8_t>(clx[pos]) != kPcdt)
        throw DocFormatError("the piece table is missing or damaged");
    const std::uint32_t lcb = readU32(clx, pos + 1, "the piece table");
    const std::string_view plc = slice(clx, pos + 5, lcb, "the piece table");
    if (lcb < 4 + 4 + kPcdSize || (lcb - 4) % (4 + kPcdSize) != 0)
        throw DocFormatError("the piece table has a size of " + std::to_string(lcb) + " bytes, which holds no pieces");

    const std::size_t count = (lcb - 4) / (4 + kPcdSize);
    const std::size_t pcdStart = 4 * (count + 1);
    PieceTable table;
    table.pieces_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        Piece piece;
        piece.cpStart = readU32(plc, 4 * i, "the piece table");
        piece.cpEnd = readU32(plc, 4 * (i + 1), "the piece table");
        if (piece.cpEnd < piece.cpStart || (i > 0 && piece.cpStart < table.pieces_.back().cpEnd))
            throw DocFormatError("the piece table is out of order at piece " + std::to_string(i));
        const std::uint32_t fc = readU32(plc, pcdStart + kPcdSize * i + 2, "the piece table");
        piece.compressed = offsets == Offsets::Word6 || (fc & kCompressedFlag);
        if (offsets == Offsets::Word6)
            piece.offset = fc;
        else
            piece.offset = piece.compressed ? (fc & kFcMask) / 2 : (fc & kFcMask);
        table.pieces_.push_back(piece);
    }
    return table;
}

}  // namespace leafmill::extract::doc
