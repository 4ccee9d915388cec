#include "extract/doc/TextBoxes.h"

#include "extract/doc/LittleEndian.h"
#include "extract/doc/Plc.h"
#include "extract/doc/WordDocument.h"

namespace leafmill::extract::doc {

namespace {

constexpr std::size_t kFtxbxsSize = 22;
constexpr std::size_t kReusableFlag = 8;

}  // namespace

std::vector<std::pair<std::uint64_t, std::uint64_t>> textBoxRanges(const WordDocument& document)
{
    const Fib& fib = document.fib();
    std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;
    if (fib.ccpTxbx == 0)
        return ranges;
    // The text boxes' story follows the endnotes.
    const std::uint64_t story
        = std::uint64_t(fib.ccpText) + fib.ccpFtn + fib.ccpHdd + fib.ccpMcr + fib.ccpAtn + fib.ccpEdn;
    const std::optional<Plc> boxes
        = Plc::read(document.tableStream(), fib.fcPlcftxbxTxt, fib.lcbPlcftxbxTxt, kFtxbxsSize);
    if (!boxes || boxes->count() == 0 || boxes->cps.back() > fib.ccpTxbx) {
        ranges.emplace_back(story, story + fib.ccpTxbx);
        return ranges;
    }
    for (std::size_t i = 0; i < boxes->count(); ++i) {
        const std::uint64_t start = boxes->cps[i], end = boxes->cps[i + 1];
        if (readU16(boxes->entry(i), kReusableFlag, "a text box") != 0 || end - start < 2)
            continue;
        ranges.emplace_back(story + start, story + end - 1);
    }
    return ranges;
}

}  // namespace leafmill::extract::doc
