#include "extract/doc/NoteMarks.h"

#include "extract/common/ListNumbers.h"
#include "extract/doc/DocFormatError.h"
#include "extract/doc/LittleEndian.h"
#include "extract/doc/NumberFormat.h"
#include "extract/doc/PieceTable.h"
#include "extract/doc/Plc.h"
#include "extract/doc/WordDocument.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace leafmill::extract::doc {

namespace {

constexpr std::size_t kFrdSize = 2;
constexpr std::size_t kSedSize = 12;
// Document properties: footnote start and restart, endnote start and
// restart, and the two number formats.
constexpr std::size_t kDopFootnotes = 2, kDopEndnotes = 52, kDopFormats = 54;
constexpr unsigned kRestartEachSection = 1;

// Where the character at `cp` is stored, or nothing when no piece holds it.
std::optional<std::uint32_t> streamOffsetOf(const PieceTable& pieces, std::uint64_t cp)
{
    const std::vector<Piece>& list = pieces.pieces();
    const auto piece
        = std::upper_bound(list.begin(), list.end(), cp, [](std::uint64_t at, const Piece& p) { return at < p.cpEnd; });
    if (piece == list.end() || cp < piece->cpStart)
        return std::nullopt;
    const std::uint64_t offset = piece->offset + (piece->compressed ? 1 : 2) * (cp - piece->cpStart);
    if (offset > std::numeric_limits<std::uint32_t>::max())
        return std::nullopt;
    return static_cast<std::uint32_t>(offset);
}

}  // namespace

struct NoteMarks::Numbering {
    NumberStyle style;
    unsigned start = 1;
    bool restartEachSection = false;
    std::uint32_t fcRef = 0, lcbRef = 0, fcText = 0, lcbText = 0;

    // The start and restart rule of a 16-bit field of the document properties.
    void setCounting(std::uint16_t field)
    {
        restartEachSection = (field & 3) == kRestartEachSection;
        start = std::max(1u, unsigned(field >> 2));
    }
};

NoteMarks NoteMarks::read(const WordDocument& document, const PieceTable& pieces)
{
    const Fib& fib = document.fib();
    Numbering footnotes {NumberStyle::Decimal, 1, false, fib.fcPlcffndRef, fib.lcbPlcffndRef, fib.fcPlcffndTxt,
                         fib.lcbPlcffndTxt};
    Numbering endnotes {NumberStyle::LowerRoman, 1, false, fib.fcPlcfendRef, fib.lcbPlcfendRef, fib.fcPlcfendTxt,
                        fib.lcbPlcfendTxt};
    NoteMarks marks;
    if (fib.lcbPlcffndRef == 0 && fib.lcbPlcfendRef == 0)
        return marks;
    try {
        if (fib.lcbDop >= kDopFormats + 2) {
            const std::string_view dop
                = slice(document.tableStream(), fib.fcDop, fib.lcbDop, "the document properties");
            footnotes.setCounting(readU16(dop, kDopFootnotes, "the document properties"));
            endnotes.setCounting(readU16(dop, kDopEndnotes, "the document properties"));
            const std::uint16_t formats = readU16(dop, kDopFormats, "the document properties");
            footnotes.style = numberStyleOf((formats >> 2) & 0xF);
            endnotes.style = numberStyleOf((formats >> 6) & 0xF);
        }
    } catch (const DocFormatError&) {
        // Word's defaults stand: 1, 2, 3 for footnotes and i, ii, iii for endnotes.
    }
    const std::uint64_t endnoteStory = std::uint64_t(fib.ccpText) + fib.ccpFtn + fib.ccpHdd + fib.ccpMcr + fib.ccpAtn;
    marks.addStory(document, pieces, footnotes, fib.ccpText);
    if (endnoteStory <= std::numeric_limits<std::uint32_t>::max())
        marks.addStory(document, pieces, endnotes, static_cast<std::uint32_t>(endnoteStory));
    std::sort(marks.marks_.begin(), marks.marks_.end());
    return marks;
}

void NoteMarks::addStory(const WordDocument& document, const PieceTable& pieces, const Numbering& numbering,
                         std::uint32_t storyStart)
{
    const std::string_view table = document.tableStream();
    const Fib& fib = document.fib();
    const std::optional<Plc> references = Plc::read(table, numbering.fcRef, numbering.lcbRef, kFrdSize);
    if (!references)
        return;
    const std::optional<Plc> texts = Plc::read(table, numbering.fcText, numbering.lcbText, 0);
    const std::optional<Plc> sections = Plc::read(table, fib.fcPlcfSed, fib.lcbPlcfSed, kSedSize);
    std::size_t section = 0;
    long number = long(numbering.start) - 1;
    for (std::size_t i = 0; i < references->count(); ++i) {
        const std::uint32_t cp = references->cps[i];
        if (numbering.restartEachSection && sections) {
            for (; section + 1 < sections->count() && cp >= sections->cps[section + 1]; ++section)
                number = long(numbering.start) - 1;
        }
        // A custom mark (no automatic number) is text of the document itself.
        if (readU16(references->entry(i), 0, "a note reference") == 0)
            continue;
        const std::string mark = formatNumber(++number, numbering.style);
        if (const auto offset = streamOffsetOf(pieces, cp))
            marks_.emplace_back(*offset, mark);
        if (texts && i < texts->count())
            if (const auto offset = streamOffsetOf(pieces, std::uint64_t(storyStart) + texts->cps[i]))
                marks_.emplace_back(*offset, mark);
    }
}

const std::string* NoteMarks::at(std::uint32_t streamOffset) const
{
    const auto it = std::lower_bound(marks_.begin(), marks_.end(), streamOffset,
                                     [](const auto& mark, std::uint32_t offset) { return mark.first < offset; });
    return it != marks_.end() && it->first == streamOffset ? &it->second : nullptr;
}

}  // namespace leafmill::extract::doc
