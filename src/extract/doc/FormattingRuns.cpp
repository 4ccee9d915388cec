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

void FormattingRuns::addPage(std::string_view page, Kind kind, std::vector<FormattingRun>& into)
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
            const std::string_view istdAndGrpprl = cb != 0
                ? slice(page, at + 1, 2 * cb - 1, kWhat)
                : slice(page, at + 2, 2 * readU8(page, at + 1, kWhat), kWhat);
            run.istd = readU16(istdAndGrpprl, 0, kWhat);
            run.grpprl = istdAndGrpprl.substr(2);
        }
        if (run.start < run.end)
            into.push_back(run);
    }
}

std::string_view FormattingRuns::pageBytes(std::uint32_t number, std::string& scratch) const
{
    return stream_->read(std::uint64_t(number) * kPageSize, kPageSize, scratch);
}

std::optional<FormattingRuns> FormattingRuns::read(const StreamView& wordDocument, std::string_view table,
                                                   std::uint32_t fcBinTable, std::uint32_t lcbBinTable, Kind kind)
{
    try {
        const std::string_view plc = slice(table, fcBinTable, lcbBinTable, "formatting");
        if (plc.size() < 12 || (plc.size() - 4) % 8 != 0)
            return std::nullopt;
        const std::size_t count = (plc.size() - 4) / 8;
        // Each page is read once, however often the table names it.
        std::vector<std::uint32_t> numbers;
        std::vector<bool> pageSeen(wordDocument.size() / kPageSize, false);
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t pageNumber = readU32(plc, 4 * (count + 1) + 4 * i, "formatting") & 0x3FFFFF;
            if (pageNumber >= pageSeen.size())
                return std::nullopt;
            if (!pageSeen[pageNumber])
                numbers.push_back(pageNumber);
            pageSeen[pageNumber] = true;
        }

        FormattingRuns runs(wordDocument, kind);
        std::string scratch;
        std::vector<FormattingRun> pageRuns;
        std::optional<std::uint32_t> lastStart;
        bool inOrder = true;
        for (std::uint32_t number : numbers) {
            pageRuns.clear();
            addPage(runs.pageBytes(number, scratch), kind, pageRuns);
            for (const FormattingRun& run : pageRuns) {
                inOrder = inOrder && (!lastStart || run.start > *lastStart);
                lastStart = run.start;
            }
            if (!pageRuns.empty())
                runs.pages_.push_back({pageRuns.front().start, number});
        }
        if (inOrder)
            return runs;

        runs.pages_.clear();
        for (std::uint32_t number : numbers) {
            std::string_view page = runs.pageBytes(number, scratch);
            if (page.data() == scratch.data())
                page = runs.gatheredPages_.emplace_front(std::move(scratch));
            addPage(page, kind, runs.runs_);
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
    if (pages_.empty())
        return find(runs_, streamOffset);
    auto page = std::upper_bound(pages_.begin(), pages_.end(), streamOffset,
                                 [](std::uint32_t offset, const Page& p) { return offset < p.firstStart; });
    if (page == pages_.begin())
        return nullptr;
    --page;
    if (page->number != heldPage_) {
        held_.clear();
        addPage(pageBytes(page->number, heldBytes_), kind_, held_);  // read without fault before
        heldPage_ = page->number;
    }
    return find(held_, streamOffset);
}

const FormattingRun* FormattingRuns::find(const std::vector<FormattingRun>& runs, std::uint32_t streamOffset)
{
    auto it = std::upper_bound(runs.begin(), runs.end(), streamOffset,
                               [](std::uint32_t offset, const FormattingRun& run) { return offset < run.start; });
    if (it == runs.begin())
        return nullptr;
    --it;
    return streamOffset < it->end ? &*it : nullptr;
}

}  // namespace leafmill::extract::doc
