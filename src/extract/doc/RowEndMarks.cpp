#include "extract/doc/RowEndMarks.h"

#include "extract/doc/DocFormatError.h"
#include "extract/doc/Fib.h"
#include "extract/doc/LittleEndian.h"

#include <algorithm>

namespace leafmill::extract::doc {

namespace {

constexpr std::size_t kPageSize = 512;
constexpr std::size_t kBxPapSize = 13;
constexpr std::uint16_t kSprmPFTtp = 0x2417;
constexpr std::uint16_t kSprmPFInnerTtp = 0x244C;
constexpr std::uint16_t kSprmTDefTable = 0xD608;
constexpr std::uint16_t kSprmPChgTabs = 0xC615;

// The size of a property modifier's operand, from its spra bits; variable
// operands carry their own size in front.
std::size_t operandSize(std::uint16_t sprm, std::string_view grpprl, std::size_t pos)
{
    switch (sprm >> 13) {
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
    if (sprm == kSprmTDefTable)
        return std::size_t(readU16(grpprl, pos, "a table definition")) + 1;
    const std::size_t size = readU8(grpprl, pos, "a paragraph property");
    if (sprm == kSprmPChgTabs && size == 255) {
        // Counted lists instead: deleted tabs (position and closeness), added tabs (position and kind).
        const std::size_t deleted = readU8(grpprl, pos + 1, "a tab change");
        const std::size_t added = readU8(grpprl, pos + 2 + 4 * deleted, "a tab change");
        return 1 + 1 + 4 * deleted + 1 + 3 * added;
    }
    return size + 1;
}

// Whether a paragraph's property modifiers mark it as a row end.
bool marksRowEnd(std::string_view grpprl)
{
    std::size_t pos = 0;
    while (pos + 2 <= grpprl.size()) {
        const std::uint16_t sprm = readU16(grpprl, pos, "a paragraph property");
        pos += 2;
        const std::size_t size = operandSize(sprm, grpprl, pos);
        if ((sprm == kSprmPFTtp || sprm == kSprmPFInnerTtp) && readU8(grpprl, pos, "a paragraph property") != 0)
            return true;
        pos += size;
    }
    return false;
}

}  // namespace

void RowEndMarks::addPage(std::string_view page)
{
    const std::size_t runs = readU8(page, kPageSize - 1, "a paragraph formatting page");
    if (4 * (runs + 1) + kBxPapSize * runs > kPageSize - 1)
        throw DocFormatError("a paragraph formatting page holds too many runs");
    for (std::size_t i = 0; i < runs; ++i) {
        const std::size_t wordOffset = readU8(page, 4 * (runs + 1) + kBxPapSize * i, "a paragraph formatting page");
        if (wordOffset == 0)
            continue;  // default formatting
        const std::size_t at = 2 * wordOffset;
        std::size_t cb = readU8(page, at, "a paragraph formatting page");
        std::size_t start = at + 1, size = 2 * cb - 1;
        if (cb == 0) {
            cb = readU8(page, at + 1, "a paragraph formatting page");
            start = at + 2;
            size = 2 * cb;
        }
        const std::string_view grpprlAndIstd = slice(page, start, size, "a paragraph's formatting");
        if (grpprlAndIstd.size() >= 2 && marksRowEnd(grpprlAndIstd.substr(2)))
            ranges_.emplace_back(readU32(page, 4 * i, "a paragraph formatting page"),
                                 readU32(page, 4 * (i + 1), "a paragraph formatting page"));
    }
}

std::optional<RowEndMarks> RowEndMarks::read(std::string_view wordDocument, std::string_view table, const Fib& fib)
{
    try {
        const std::string_view plc = slice(table, fib.fcPlcfBtePapx, fib.lcbPlcfBtePapx, "paragraph formatting");
        if (plc.size() < 12 || (plc.size() - 4) % 8 != 0)
            return std::nullopt;
        const std::size_t count = (plc.size() - 4) / 8;
        RowEndMarks marks;
        // Each page is read once, however often the table names it.
        std::vector<bool> pageSeen(wordDocument.size() / kPageSize, false);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t pageNumber = readU32(plc, 4 * (count + 1) + 4 * i, "paragraph formatting") & 0x3FFFFF;
            if (pageNumber >= pageSeen.size())
                return std::nullopt;
            if (pageSeen[pageNumber])
                continue;
            pageSeen[pageNumber] = true;
            marks.addPage(slice(wordDocument, std::uint64_t(pageNumber) * kPageSize, kPageSize, "a formatting page"));
        }
        std::sort(marks.ranges_.begin(), marks.ranges_.end());
        return marks;
    } catch (const DocFormatError&) {
        return std::nullopt;
    }
}

bool RowEndMarks::endsRow(std::uint32_t streamOffset) const
{
    auto it = std::upper_bound(ranges_.begin(), ranges_.end(), std::make_pair(streamOffset, UINT32_MAX));
    if (it == ranges_.begin())
        return false;
    --it;
    return streamOffset >= it->first && streamOffset < it->second;
}

}  // namespace leafmill::extract::doc
