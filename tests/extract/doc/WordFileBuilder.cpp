#include "WordFileBuilder.h"

#include "CompoundFileWriter.h"
#include "extract/doc/DocToText.h"

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

// One formatting page: a run for each of `runs` (stream offsets), default
// runs between them, each run's properties stored from the page's end down.
std::string formattingPage(std::uint32_t textStart, std::uint32_t textEnd,
                           const std::vector<std::pair<std::uint32_t, std::uint32_t>>& bounds,
                           const std::vector<WordFileSpec::Run>& runs, bool paragraphs)
{
    std::vector<std::uint32_t> starts {textStart};
    std::vector<const WordFileSpec::Run*> properties;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (bounds[i].first > starts.back()) {
            starts.push_back(bounds[i].first);
            properties.push_back(nullptr);
        }
        starts.push_back(bounds[i].second);
        properties.push_back(&runs[i]);
    }
    if (textEnd > starts.back()) {
        starts.push_back(textEnd);
        properties.push_back(nullptr);
    }
    std::string page(512, '\0');
    const std::size_t count = properties.size();
    const std::size_t entrySize = paragraphs ? 13 : 1;
    for (std::size_t i = 0; i < starts.size(); ++i)
        putU32(page, 4 * i, starts[i]);
    std::size_t free = 511;
    for (std::size_t i = 0; i < count; ++i) {
        if (!properties[i])
            continue;
        std::string stored;
        if (paragraphs) {
            std::string istdAndGrpprl;
            putU16(istdAndGrpprl, 0, properties[i]->istd);
            istdAndGrpprl += properties[i]->grpprl;
            // An odd size is counted in words with the count byte; an even one after a 0.
            stored = istdAndGrpprl.size() % 2 ? std::string(1, char((istdAndGrpprl.size() + 1) / 2))
                                              : std::string {'\0', char(istdAndGrpprl.size() / 2)};
            stored += istdAndGrpprl;
        } else {
            stored = char(properties[i]->grpprl.size()) + properties[i]->grpprl;
        }
        free = (free - stored.size()) / 2 * 2;
        page.replace(free, stored.size(), stored);
        page[4 * (count + 1) + entrySize * i] = char(free / 2);
    }
    page[511] = char(count);
    return page;
}

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

// Word 6: a 0x300-byte head, the text, and for a complex file the CLX behind it.
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

    // Formatting pages: stream offsets of the runs (all text taken from one piece kind).
    const auto streamOffset = [&](std::uint32_t cp) {
        std::uint32_t start = 0;
        for (std::size_t i = 0; i < spec.pieces.size(); ++i) {
            const auto size = static_cast<std::uint32_t>(spec.pieces[i].text.size());
            if (cp < start + size || i + 1 == spec.pieces.size())
                return static_cast<std::uint32_t>(offsets[i]) + (spec.pieces[i].compressed ? 1 : 2) * (cp - start);
            start += size;
        }
        return std::uint32_t(kTextStart);
    };
    const auto textEnd = static_cast<std::uint32_t>(out.wordDocument.size());
    for (const auto& [runs, pair] : {std::pair {&spec.paragraphRuns, 13}, std::pair {&spec.characterRuns, 12}}) {
        if (runs->empty())
            continue;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> bounds;
        for (const WordFileSpec::Run& run : *runs)
            bounds.emplace_back(streamOffset(run.cpStart), streamOffset(run.cpEnd));
        out.wordDocument.resize((out.wordDocument.size() + 511) / 512 * 512, '\0');
        const auto pageNumber = static_cast<std::uint32_t>(out.wordDocument.size() / 512);
        out.wordDocument += formattingPage(kTextStart, textEnd, bounds, *runs, pair == 13);
        std::string bte;
        putU32(bte, 0, kTextStart);
        putU32(bte, 4, textEnd);
        putU32(bte, 8, pageNumber);
        setPair(out.wordDocument, static_cast<std::size_t>(pair), static_cast<std::uint32_t>(out.table.size()), 12);
        out.table += bte;
    }
    return out;
}

std::string wordFile(const WordStreams& streams)
{
    if (streams.table.empty())
        return compoundFile({{"WordDocument", streams.wordDocument}});
    return compoundFile({{"WordDocument", streams.wordDocument}, {"1Table", streams.table}});
}

std::string buildWordFile(const WordFileSpec& spec)
{
    return wordFile(buildWordStreams(spec));
}

extract::Result convertStreams(const WordStreams& streams, std::size_t* mainLength)
{
    return extract::doc::docToTextWithMainLength(wordFile(streams), extract::Options {}, mainLength);
}

extract::Result convertWordFile(const WordFileSpec& spec, std::size_t* mainLength)
{
    return convertStreams(buildWordStreams(spec), mainLength);
}

}  // namespace leafmill::test
