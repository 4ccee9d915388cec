#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::doc {

// One run of text: character positions [cpStart, cpEnd) are stored from byte
// `offset` of the WordDocument stream, one byte each (compressed, cp1252) or
// two (UTF-16LE).
struct Piece {
    std::uint32_t cpStart = 0;
    std::uint32_t cpEnd = 0;
    std::uint32_t offset = 0;
    bool compressed = false;
};

// The piece table of a Word 97-2003 document, read from the CLX in the table
// stream: it maps character positions to where their text is stored, which in
// fast-saved files jumps back and forth through the stream.
class PieceTable {
public:
    // Skips the Prc entries and reads the PlcPcd; raises DocFormatError when
    // the CLX is malformed or out of order.
    static PieceTable parse(std::string_view clx);

    const std::vector<Piece>& pieces() const { return pieces_; }
    std::uint32_t cpEnd() const { return pieces_.empty() ? 0 : pieces_.back().cpEnd; }

    // The 16-bit unit of a compressed byte: cp1252 for 0x80-0x9F, Latin-1 otherwise.
    static char16_t compressedToUnicode(unsigned char byte);

    // Calls visit(unit, streamOffset) for every character in [from, to), in
    // order, until visit returns false. Text of a piece that lies outside the
    // stream is skipped and counted in *missing.
    template <class Visit>
    void forEach(std::string_view stream, std::uint32_t from, std::uint32_t to, std::uint64_t* missing,
        Visit&& visit) const;

private:
    std::vector<Piece> pieces_;
};

template <class Visit>
void PieceTable::forEach(std::string_view stream, std::uint32_t from, std::uint32_t to, std::uint64_t* missing,
    Visit&& visit) const
{
    for (const Piece& piece : pieces_) {
        const std::uint32_t begin = std::max(from, piece.cpStart);
        const std::uint32_t end = std::min(to, piece.cpEnd);
        if (begin >= end)
            continue;
        const std::uint64_t width = piece.compressed ? 1 : 2;
        for (std::uint32_t cp = begin; cp < end; ++cp) {
            const std::uint64_t pos = piece.offset + width * (cp - piece.cpStart);
            if (pos + width > stream.size()) {
                *missing += end - cp;
                break;
            }
            const auto* p = reinterpret_cast<const unsigned char*>(stream.data() + pos);
            const char16_t unit = piece.compressed ? compressedToUnicode(p[0]) : char16_t(p[0] | p[1] << 8);
            if (!visit(unit, static_cast<std::uint32_t>(pos)))
                return;
        }
    }
}

}  // namespace leafmill::extract::doc
