#include "WordFileBuilder.h"

#include "CompoundFileWriter.h"

#include <algorithm>

namespace leafmill::test {

namespace {

constexpr std::size_t kTextStart = 1024;
constexpr std::size_t kLwStart = 32 + 2 + 28 + 2;
constexpr std::size_t kPairStart = kLwStart + 88 + 2;

// The byte a compressed piece stores for a character (cp1252 for the specials).
unsigned char compressedByte(char16_t c)
{
    static const char16_t specials[32]
        = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
           0x2039, 0x0152, 0x8D,   0x017D, 0x8F,   0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
           0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    for (int i = 0; i < 32; ++i)
        if (specials[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return static_cast<unsigned char>(c);
}

std::string fib(const WordFileSpec& spec, std::uint32_t ccpText)
{
    std::string out(kTextStart, '\0');
    putU16(out, 0, 0xA5EC);
    putU16(out, 2, spec.nFib);
    putU16(out, 0x0A, std::uint16_t(0x0200 | (spec.encrypted ? 0x0100 : 0)));  // 1Table
    putU16(out, 32, 14);
    putU16(out, kLwStart - 2, 22);
    putU32(out, kLwStart + 4 * 3, ccpText);
    putU32(out, kLwStart + 4 * 4, spec.ccpFtn);
    putU32(out, kLwStart + 4 * 5, spec.ccpHdd);
    putU32(out, kLwStart + 4 * 7, spec.ccpAtn);
    putU32(out, kLwStart + 4 * 8, spec.ccpEdn);
    putU32(out, kLwStart + 4 * 9, spec.ccpTxbx);
    putU16(out, kPairStart - 2, 93);
    return out;
}

void setPair(std::string& stream, std::size_t index, std::uint32_t fc, std::uint32_t lcb)
{
    putU32(stream, kPairStart + 8 * index, fc);
    putU32(stream, kPairStart + 8 * index + 4, lcb);
}

// One paragraph formatting page: runs between the row-end marks, the marks
// themselves pointing to a property list that sets the row-end flag.
std::string formattingPage(std::uint32_t textStart, std::uint32_t textEnd, const std::vector<std::uint32_t>& marks,
                           std::uint32_t markWidth)
{
    std::vector<std::uint32_t> bounds {textStart};
    std::vector<bool> isMark;
    for (std::uint32_t mark : marks) {
        if (mark > bounds.back()) {
            bounds.push_back(mark);
            isMark.push_back(false);
        }
        bounds.push_back(mark + markWidth);
        isMark.push_back(true);
    }
    if (textEnd > bounds.back()) {
        bounds.push_back(textEnd);
        isMark.push_back(false);
    }
    std::string page(512, '\0');
    const std::size_t runs = isMark.size();
    for (std::size_t i = 0; i < bounds.size(); ++i)
        putU32(page, 4 * i, bounds[i]);
    constexpr std::size_t propertiesAt = 480;  // istd 0, sprmPFTtp 1
    const std::string properties("\x03\x00\x00\x17\x24\x01", 6);
    page.replace(propertiesAt, properties.size(), properties);
    for (std::size_t i = 0; i < runs; ++i)
        page[4 * (runs + 1) + 13 * i] = isMark[i] ? char(propertiesAt / 2) : '\0';
    page[511] = char(runs);
    return page;
}

// Word 6: a 0x300-byte head, the text (in reading order, or backwards), and
// for a complex file the CLX behind it.
// The piece table's character positions: where each piece starts, then the end.
std::string pieceStarts(const WordFileSpec& spec)
{
    std::string plc;
    std::uint32_t cp = 0;
    for (const auto& piece : spec.pieces) {
        putU32(plc, plc.size(), cp);
        cp += static_cast<std::uint32_t>(piece.text.size());
    }
    putU32(plc, plc.size(), cp);
    return plc;
}

std::string word6Stream(const WordFileSpec& spec, std::uint32_t ccpText)
{
    std::string out(0x300, '\0');
    putU16(out, 0, 0xA5EC);
    putU16(out, 2, spec.nFib);
    putU16(out, 6, spec.lid);
    putU16(out, 0x0A, std::uint16_t((spec.complex ? 0x0004 : 0) | (spec.encrypted ? 0x0100 : 0)));
    putU16(out, 0x14, spec.macCharacterSet ? 256 : 0);
    const std::uint32_t lengths[] = {ccpText, spec.ccpFtn, spec.ccpHdd, 0, spec.ccpAtn, spec.ccpEdn};
    for (std::size_t i = 0; i < 6; ++i)
        putU32(out, 0x34 + 4 * i, lengths[i]);
    std::vector<std::uint32_t> offsets(spec.pieces.size());
    for (std::size_t n = 0; n < spec.pieces.size(); ++n) {
        const std::size_t i = spec.storeBackwards ? spec.pieces.size() - 1 - n : n;
        offsets[i] = static_cast<std::uint32_t>(out.size());
        for (char16_t c : spec.pieces[i].text)
            out.push_back(static_cast<char>(c & 0xFF));
    }
    putU32(out, 0x18, 0x300);
    putU32(out, 0x1C, static_cast<std::uint32_t>(out.size()));
    if (spec.complex) {
        std::string clx = spec.prcBeforePieces ? std::string("\x01\x02\x00\x55\x01", 5) : std::string();
        std::string plc = pieceStarts(spec);
        for (std::uint32_t offset : offsets) {
            std::string pcd(8, '\0');
            putU32(pcd, 2, offset);
            plc += pcd;
        }
        clx += '\x02';
        putU32(clx, clx.size(), static_cast<std::uint32_t>(plc.size()));
        clx += plc;
        putU32(out, 0x58 + 8 * 33, static_cast<std::uint32_t>(out.size()));
        putU32(out, 0x58 + 8 * 33 + 4, static_cast<std::uint32_t>(clx.size()));
        out += clx;
    }
    return out;
}

}  // namespace

WordStreams buildWordStreams(const WordFileSpec& spec)
{
    std::uint32_t totalCp = 0;
    for (const auto& piece : spec.pieces)
        totalCp += static_cast<std::uint32_t>(piece.text.size());
    const std::uint32_t ccpText = spec.ccpText < 0 ? totalCp : static_cast<std::uint32_t>(spec.ccpText);
    if (spec.word6)
        return {word6Stream(spec, ccpText), {}};
    WordStreams out {fib(spec, ccpText), {}};

    // Text: where each piece sits in the stream.
    std::vector<std::size_t> offsets(spec.pieces.size());
    std::vector<std::size_t> order(spec.pieces.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = spec.storeBackwards ? order.size() - 1 - i : i;
    for (std::size_t index : order) {
        offsets[index] = out.wordDocument.size();
        for (char16_t c : spec.pieces[index].text) {
            if (spec.pieces[index].compressed) {
                out.wordDocument.push_back(static_cast<char>(compressedByte(c)));
            } else {
                out.wordDocument.push_back(static_cast<char>(c & 0xFF));
                out.wordDocument.push_back(static_cast<char>(c >> 8));
            }
        }
    }

    // CLX: an optional Prc, then the PlcPcd.
    std::string clx;
    if (spec.prcBeforePieces)
        clx += std::string("\x01\x03\x00\x55\x08\x01", 6);  // sprmCFBold on
    std::string plc = pieceStarts(spec);
    for (std::size_t i = 0; i < spec.pieces.size(); ++i) {
        std::string pcd(8, '\0');
        const bool compressed = spec.pieces[i].compressed;
        putU32(pcd, 2, compressed ? std::uint32_t(offsets[i] * 2) | 0x40000000 : std::uint32_t(offsets[i]));
        plc += pcd;
    }
    clx += '\x02';
    putU32(clx, clx.size(), static_cast<std::uint32_t>(plc.size()));
    clx += plc;
    out.table = std::string(16, '\0') + clx;
    setPair(out.wordDocument, 33, 16, static_cast<std::uint32_t>(clx.size()));
    for (const auto& [index, part] : spec.tableParts) {
        setPair(out.wordDocument, index, static_cast<std::uint32_t>(out.table.size()),
                static_cast<std::uint32_t>(part.size()));
        out.table += part;
    }

    if (spec.writeParagraphFormatting) {
        // Stream offsets of the marks; all text is taken from one piece kind.
        std::vector<std::uint32_t> markOffsets;
        for (std::uint32_t markCp : spec.rowEndPositions) {
            std::uint32_t start = 0;
            for (std::size_t i = 0; i < spec.pieces.size(); ++i) {
                const auto size = static_cast<std::uint32_t>(spec.pieces[i].text.size());
                if (markCp < start + size) {
                    const std::uint32_t width = spec.pieces[i].compressed ? 1 : 2;
                    markOffsets.push_back(static_cast<std::uint32_t>(offsets[i]) + width * (markCp - start));
                    break;
                }
                start += size;
            }
        }
        std::sort(markOffsets.begin(), markOffsets.end());
        const std::uint32_t width = spec.pieces.empty() || spec.pieces[0].compressed ? 1 : 2;
        const auto textEnd = static_cast<std::uint32_t>(out.wordDocument.size());
        out.wordDocument.resize((out.wordDocument.size() + 511) / 512 * 512, '\0');
        const auto pageNumber = static_cast<std::uint32_t>(out.wordDocument.size() / 512);
        out.wordDocument += formattingPage(kTextStart, textEnd, markOffsets, width);
        std::string bte;
        putU32(bte, 0, kTextStart);
        putU32(bte, 4, textEnd);
        putU32(bte, 8, pageNumber);
        setPair(out.wordDocument, 13, static_cast<std::uint32_t>(out.table.size()), 12);
        out.table += bte;
    }
    return out;
}

std::string buildWordFile(const WordFileSpec& spec)
{
    WordStreams streams = buildWordStreams(spec);
    CompoundFileWriter writer;
    writer.add(spec.lowerCaseNames ? "worddocument" : "WordDocument", std::move(streams.wordDocument));
    if (spec.writeTableStream && !spec.word6)
        writer.add(spec.lowerCaseNames ? "1table" : "1Table", std::move(streams.table));
    return writer.write();
}

}  // namespace leafmill::test
