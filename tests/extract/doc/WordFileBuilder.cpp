#include "WordFileBuilder.h"

#include "../HandedOn.h"
#include "CompoundFileWriter.h"
#include "extract/doc/DocToText.h"

namespace leafmill::test {

namespace {

constexpr std::uint32_t kTextStart = 1024;
constexpr std::size_t kLwStart = 64, kPairStart = 154;  // of the Word 97 file information block
const std::string kPrc("\x01\x03\x00\x55\x08\x01", 6);  // a formatting entry the reader skips

// Stores the pieces in the stream; returns where each one starts.
std::vector<std::uint32_t> storeText(const WordFilePlan& plan, std::string& stream)
{
    std::vector<std::uint32_t> offsets(plan.pieces.size());
    for (std::size_t n = 0; n < plan.pieces.size(); ++n) {
        const std::size_t i = plan.storeBackwards ? plan.pieces.size() - 1 - n : n;
        offsets[i] = static_cast<std::uint32_t>(stream.size());
        for (char16_t c : plan.pieces[i].text) {
            stream += char(c & 0xFF);
            if (!plan.pieces[i].compressed)
                stream += char(c >> 8);
        }
    }
    return offsets;
}

// The CLX: the optional formatting entry, the pieces' starts and end, their stored offsets.
std::string pieceTable(const WordFilePlan& plan, const std::vector<std::uint32_t>& offsets)
{
    Bytes plc;
    std::uint32_t cp = 0;
    for (const auto& piece : plan.pieces) {
        plc.n(cp, 4);
        cp += static_cast<std::uint32_t>(piece.text.size());
    }
    plc.n(cp, 4);
    // Word 97 marks a compressed piece by a flag on twice its offset.
    for (std::size_t i = 0; i < offsets.size(); ++i)
        plc.n(0, 2).n(plan.word6 || !plan.pieces[i].compressed ? offsets[i] : offsets[i] * 2 | 0x40000000, 4).n(0, 2);
    return Bytes {plan.prcBeforePieces ? kPrc : ""}.n(2, 1).n(plc.s.size(), 4).s + plc.s;
}

// The information block of either format, up to where the text starts.
std::string fib(const WordFilePlan& plan, std::uint32_t ccpText)
{
    std::string out(plan.word6 ? 0x300 : kTextStart, '\0');
    put(out, 0, 0xA5EC, 2);
    put(out, 2, plan.word6 ? 0x68 : 0xC1, 2);  // Word 95 or 97
    put(out, 0x0A, plan.word6 ? (plan.complex ? 0x0004 : 0) : 0x0200, 2);  // fast-saved; the table stream is 1Table
    const std::uint32_t lengths[] = {ccpText, plan.ccpFtn, plan.ccpHdd, 0, plan.ccpAtn, plan.ccpEdn, plan.ccpTxbx};
    for (std::size_t i = 0; i < (plan.word6 ? 6 : 7); ++i)
        put(out, (plan.word6 ? 0x34 : kLwStart + 12) + 4 * i, lengths[i], 4);
    if (plan.word6) {
        put(out, 6, plan.lid, 2);
        put(out, 0x14, plan.macCharacterSet ? 256 : 0, 2);
        return out;
    }
    put(out, 32, 14, 2);
    put(out, kLwStart - 2, 22, 2);
    put(out, kPairStart - 2, 93, 2);
    return out;
}

std::string word6Stream(const WordFilePlan& plan, std::uint32_t ccpText)
{
    std::string out = fib(plan, ccpText);
    const std::vector<std::uint32_t> offsets = storeText(plan, out);
    put(out, 0x18, 0x300, 4);
    put(out, 0x1C, static_cast<std::uint32_t>(out.size()), 4);
    if (plan.complex) {
        const std::string clx = pieceTable(plan, offsets);
        put(out, 0x58 + 8 * 33, static_cast<std::uint32_t>(out.size()), 4);
        put(out, 0x58 + 8 * 33 + 4, static_cast<std::uint32_t>(clx.size()), 4);
        out += clx;
    }
    return out;
}

// A formatting page of the runs in the piece stored at `first`, unformatted runs between them.
std::string formattingPage(const WordFilePlan& plan, std::uint32_t first, std::uint32_t textEnd, bool paragraphs)
{
    const std::uint32_t width = plan.pieces[0].compressed ? 1 : 2;
    std::vector<std::uint32_t> starts {kTextStart};
    std::vector<std::string> stored;  // empty: no formatting
    for (const WordFilePlan::Run& run : paragraphs ? plan.paragraphRuns : plan.characterRuns) {
        if (first + width * run.cpStart > starts.back()) {
            starts.push_back(first + width * run.cpStart);
            stored.emplace_back();
        }
        starts.push_back(first + width * run.cpEnd);
        const std::string papx = Bytes {}.n(run.istd, 2).s + run.grpprl;
        // An odd size is counted in words with the count byte; an even one after a 0.
        const Bytes size = !paragraphs ? Bytes {}.n(run.grpprl.size(), 1)
            : papx.size() % 2          ? Bytes {}.n((papx.size() + 1) / 2, 1)
                                       : Bytes {}.n(0, 1).n(papx.size() / 2, 1);
        stored.push_back(size.s + (paragraphs ? papx : run.grpprl));
    }
    starts.push_back(textEnd);
    stored.emplace_back();
    std::string page(512, '\0');
    std::size_t free = 511;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        put(page, 4 * i, starts[i], 4);
        if (i == stored.size() || stored[i].empty())
            continue;
        free = (free - stored[i].size()) / 2 * 2;
        page.replace(free, stored[i].size(), stored[i]);
        page[4 * starts.size() + (paragraphs ? 13 : 1) * i] = char(free / 2);
    }
    page[511] = char(stored.size());
    return page;
}

}  // namespace

WordStreams buildWordStreams(const WordFilePlan& plan)
{
    std::uint32_t total = 0;
    for (const auto& piece : plan.pieces)
        total += static_cast<std::uint32_t>(piece.text.size());
    const std::uint32_t ccpText = plan.ccpText < 0 ? total : static_cast<std::uint32_t>(plan.ccpText);
    if (plan.word6)
        return {word6Stream(plan, ccpText), {}};
    WordStreams out {fib(plan, ccpText), std::string(16, '\0')};
    const std::vector<std::uint32_t> offsets = storeText(plan, out.wordDocument);
    const auto addPart = [&](std::size_t index, const std::string& part) {
        put(out.wordDocument, kPairStart + 8 * index, static_cast<std::uint32_t>(out.table.size()), 4);
        put(out.wordDocument, kPairStart + 8 * index + 4, static_cast<std::uint32_t>(part.size()), 4);
        out.table += part;
    };
    addPart(33, pieceTable(plan, offsets));
    for (const auto& [index, part] : plan.tableParts)
        addPart(index, part);

    const auto textEnd = static_cast<std::uint32_t>(out.wordDocument.size());
    for (const bool paragraphs : {true, false}) {
        if ((paragraphs ? plan.paragraphRuns : plan.characterRuns).empty())
            continue;
        out.wordDocument.resize((out.wordDocument.size() + 511) / 512 * 512, '\0');
        const auto page = static_cast<std::uint32_t>(out.wordDocument.size() / 512);
        out.wordDocument += formattingPage(plan, offsets[0], textEnd, paragraphs);
        addPart(paragraphs ? 13 : 12, Bytes {}.n(kTextStart, 4).n(textEnd, 4).n(page, 4).s);
    }
    return out;
}

std::string wordFile(const WordStreams& streams)
{
    if (streams.table.empty())
        return compoundFile({{"WordDocument", streams.wordDocument}});
    return compoundFile({{"WordDocument", streams.wordDocument}, {"1Table", streams.table}});
}

// Read a second time handing the text on in pieces, which must give the same.
extract::Result convertStreams(const WordStreams& streams, std::size_t* mainLength)
{
    const std::string file = wordFile(streams);
    extract::Result whole = extract::doc::docToTextWithMainLength(file, extract::Options {}, mainLength);
    expectSameHandedOn(extract::docToText, file, extract::Options {}, whole, "a built Word file");
    return whole;
}

extract::Result convertWordFile(const WordFilePlan& plan, std::size_t* mainLength)
{
    return convertStreams(buildWordStreams(plan), mainLength);
}

}  // namespace leafmill::test
