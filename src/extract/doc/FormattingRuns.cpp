#include "extract/doc/FormattingRuns.h"

#include "extract/doc/DocFormatError.h"
#include "extract/doc/LittleEndian.h"

#include <algorithm>

namespace leafmill::extract::doc {

namespace {

constexpr std::size_t kPageSize = 512;
constexpr std::size_t kParagraphEntrySize = 13;  // a word offset and the paragraph's height
constexpr std::size_t kCharacterEntrySize = 1;
constexpr std::string_view kWhat = "a formatting page";

}  // namespace

void FormattingRuns::addPage(std::string_view page, Kind kind)
{
    const std::size_t runs = readU8(page, kPageSize - 1, kWhat);
    const std::size_t entrySize = kind == Kind::Paragraph ? kParagraphEntrySize : kCharacterEntrySize;
    if (4 * (runs + 1) + entrySize * runs > kPageSize - 1)
        throw DocFormatError("a formatting page holds too many runs");
    for (std::size_t i = 0; i < runs; ++i) {
        FormattingRun run {readU32(page, 4 * i, kWhat), readU32(page, 4 * (i + 1), kWhat), 0, {}};
        const std::size_t at = 2 * std::size_t(readU8(page, 4 * (runs + 1) + entrySize * i, kWhat));
        if (at != 0 && kind == Kind::Character) {
            run.grpprl = slice(page, at + 1, readU8(page, at, kWhat), kWhat);
        } else if (at != 0) {
            // A count of 16-bit words, or 0 and a count of words in the next byte.
            const std::size_t cb = readU8(page, at, kWhat);
            const std::string_view istdAndGrpprl
                = cb != 0 ? slice(page, at + 1, 2 * cb - 1, kWhat) : slice(page, at + 2, 2 * readU8(page, at + 1, kWhat), kWhat);
            run.istd = readU16(istdAndGrpprl, 0, kWhat);
            run.grpprl = istdAndGrpprl.substr(2);
        }
        if (run.start < run.end)
            runs_.push_back(run);
    }
}

std::optional<FormattingRuns> FormattingRuns::read(std::string_view wordDocument, std::string_view table,
                                                   std::uint32_t fcBinTable, std::uint32_t lcbBinTable, Kind kind)
{
    try {
        const std::string_view plc = slice(table, fcBinTable, lcbBinTable, "formatting");
        if (plc.size() < 12 || (plc.size() - 4) % 8 != 0)
            return std::nullopt;
        const std::size_t count = (plc.size() - 4) / 8;
        FormattingRuns runs;
        // Each page is read once, however often the table names it.
        std::vector<bool> pageSeen(wordDocument.size() / kPageSize, false);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t pageNumber = readU32(plc, 4 * (count + 1) + 4 * i, "formatting") & 0x3FFFFF;
            if (pageNumber >= pageSeen.size())
                return std::nullopt;
            if (pageSeen[pageNumber])
                continue;
            pageSeen[pageNumber] = true;
            runs.addPage(wordDocument.substr(std::size_t(pageNumber) * kPageSize, kPageSize), kind);
        }
        std::sort(runs.runs_.begin(), runs.runs_.end(),
                  [](const FormattingRun& a, const FormattingRun& b) { return a.start < b.start; });
        return runs;
    } catch (const DocFormatError&) {
        return std::nullopt;
    }
}

const FormattingRun* FormattingRuns::at(std::uint32_t streamOffset) const
{
    auto it = std::upper_bound(runs_.begin(), runs_.end(), streamOffset,
                               [](std::uint32_t offset, const FormattingRun& run) { return offset < run.start; });
    if (it == runs_.begin())
        return nullptr;
    --it;
    return streamOffset < it->end ? &*it : nullptr;
}

}  // namespace leafmill::extract::doc
