#pragma once

#include "extract/doc/EightBitText.h"
#include "extract/doc/StreamView.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::doc {

// One run of text: character positions [cpStart, cpEnd) are stored from byte
// `offset` of the WordDocument stream, one byte each (compressed: cp1252, or
// the document's code page in Word 6 and Word 95) or two (UTF-16LE).
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

    // Word 6 and Word 95: the pieces of the CLX hold plain byte offsets, or,
    // when the file has no CLX, the text is the one run [fcMin, fcMac). The
    // 8-bit text is read through `eightBit`, which must outlive the table.
    static PieceTable parseWord6(std::string_view clx, std::uint32_t fcMin, std::uint32_t fcMac,
                                 const EightBitText& eightBit);

    const std::vector<Piece>& pieces() const { return pieces_; }
    std::uint32_t cpEnd() const { return pieces_.empty() ? 0 : pieces_.back().cpEnd; }

    // The 16-bit unit of a compressed byte: cp1252 for 0x80-0x9F, Latin-1 otherwise.
    static char16_t compressedToUnicode(unsigned char byte)
    {
        return byte >= 0x80 && byte < 0xA0 ? kCp1252Specials[byte - 0x80] : byte;
    }

    // Calls visit(unit, streamOffset) for every character in [from, to), in
    // order, until visit returns false. Text of a piece that lies outside the
    // stream is skipped and counted in *missing. The stream is read a stretch
    // at a time; `passed`, when set, is told of the file's bytes of each
    // stretch once it has been read.
    template <class Visit>
    void forEach(const StreamView& stream, std::uint32_t from, std::uint32_t to, std::uint64_t* missing, Visit&& visit,
                 const std::function<void(std::string_view)>& passed = {}) const;

private:
    // cp1252 in 0x80-0x9F; the five bytes cp1252 leaves open keep their value.
    static constexpr char16_t kCp1252Specials[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  //
    };

    static constexpr std::uint32_t kStretch = 1 << 16;  // characters read at a time

    enum class Offsets { Word97, Word6 };
    static PieceTable parsePieces(std::string_view clx, Offsets offsets);

    std::vector<Piece> pieces_;
    const EightBitText* eightBit_ = nullptr;
};

template <class Visit>
void PieceTable::forEach(const StreamView& stream, std::uint32_t from, std::uint32_t to, std::uint64_t* missing,
                         Visit&& visit, const std::function<void(std::string_view)>& passed) const
{
    std::string scratch;
    for (const Piece& piece : pieces_) {
        const std::uint32_t begin = std::max(from, piece.cpStart);
        const std::uint32_t end = std::min(to, piece.cpEnd);
        if (begin >= end)
            continue;
        // The characters of this piece that the stream holds.
        const std::uint64_t width = piece.compressed ? 1 : 2;
        const std::uint64_t first = piece.offset + width * (begin - piece.cpStart);
        const std::uint64_t room = first < stream.size() ? (stream.size() - first) / width : 0;
        const std::uint32_t stored = static_cast<std::uint32_t>(std::min<std::uint64_t>(end - begin, room));
        *missing += (end - begin) - stored;
        std::uint32_t i = 0;
        while (i < stored) {
            // One character more than the stretch, for a double-byte character
            // that starts at its end.
            const std::uint32_t count = std::min(stored - i, kStretch);
            const std::uint64_t start = first + width * i;
            const std::uint64_t length = width * (count + (i + count < stored ? 1 : 0));
            const auto* p = reinterpret_cast<const unsigned char*>(stream.read(start, length, scratch).data());
            std::uint32_t j = 0;
            for (; j < count; ++j, p += width) {
                const auto at = static_cast<std::uint32_t>(first + width * (i + j));
                char16_t unit;
                if (!piece.compressed) {
                    unit = char16_t(p[0] | p[1] << 8);
                } else if (!eightBit_) {
                    unit = compressedToUnicode(p[0]);
                } else if (eightBit_->leads(p[0]) && i + j + 1 < stored) {
                    // A double-byte character takes two character positions.
                    unit = eightBit_->pair(p[0], p[1]);
                    ++j;
                    ++p;
                } else {
                    unit = eightBit_->unit(p[0]);
                }
                if (!visit(unit, at))
                    return;
            }
            if (passed)
                stream.forEachPart(start, width * j, passed);
            i += j;
        }
    }
}

}  // namespace leafmill::extract::doc
