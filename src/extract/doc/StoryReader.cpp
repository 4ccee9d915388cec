#include "extract/doc/StoryReader.h"

#include "extract/doc/DocFormatError.h"
#include "extract/doc/LittleEndian.h"
#include "extract/doc/WordDocument.h"

#include <algorithm>

namespace leafmill::extract::doc {

namespace {

constexpr char16_t kCellMark = 0x07;
constexpr std::uint64_t kProgressStep = 1 << 16;

}  // namespace

StoryReader::StoryReader(const WordDocument& document, const Options& options, std::vector<std::string>& warnings)
    : document_(document)
    , options_(options)
    , warnings_(warnings)
    , pieces_(readPieces())
    , rowEnds_(RowEndMarks::read(document.mainStream(), document.tableStream(), document.fib()))
{
}

PieceTable StoryReader::readPieces()
{
    const Fib& fib = document_.fib();
    const std::string_view table = document_.tableStream();
    if (!fib.word6)
        return PieceTable::parse(slice(table, fib.fcClx, fib.lcbClx, "the piece table"));
    const std::string_view clx = fib.lcbClx ? slice(table, fib.fcClx, fib.lcbClx, "the piece table") : "";
    eightBit_.emplace(EightBitText::forWord6(fib.lid, fib.macCharacterSet, options_.codePage, warnings_));
    if (fib.complex && clx.empty())
        throw DocFormatError("the fast-saved document has no piece table");
    return PieceTable::parseWord6(clx, fib.fcMin, fib.fcMac, *eightBit_);
}

std::string StoryReader::run()
{
    const Fib& fib = document_.fib();
    const std::uint64_t footnotes = fib.ccpText;
    const std::uint64_t endnotes = footnotes + fib.ccpFtn + fib.ccpHdd + fib.ccpMcr + fib.ccpAtn;
    // Lengths past the end of the piece table are cut to it.
    const std::uint64_t last = pieces_.cpEnd();
    const Story stories[] = {{0, std::min<std::uint64_t>(fib.ccpText, last)},
                             {std::min(footnotes, last), std::min(footnotes + fib.ccpFtn, last)},
                             {std::min(endnotes, last), std::min(endnotes + fib.ccpEdn, last)}};
    total_ = 1;
    for (const Story& story : stories)
        total_ += story.end - story.start;
    // Mostly one byte per character; never more than the stream can hold.
    assembler_.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(total_, document_.mainStream().size())) + 2);
    read(stories[0]);
    mainTextLength_ = assembler_.size();
    read(stories[1]);
    read(stories[2]);
    done_ = total_;
    reportProgress();
    if (missing_ > 0)
        warnings_.push_back(std::to_string(missing_) + " characters lie outside the document's text and were left out");
    if (overlong_)
        warnings_.push_back("the piece table names more text than the document holds; the rest was left out");
    if (guessedRowEnds_)
        warnings_.push_back("the table layout could not be read, so the ends of table rows were guessed");
    return assembler_.take();
}

void StoryReader::read(const Story& story)
{
    if (story.start >= story.end)
        return;
    char16_t previous = 0;
    pieces_.forEach(document_.mainStream(), static_cast<std::uint32_t>(story.start),
                    static_cast<std::uint32_t>(story.end), &missing_, [&](char16_t unit, std::uint32_t offset) {
                        // Every character takes a byte of the stream at least, unless a
                        // damaged table names the same bytes again and again.
                        if (done_ >= document_.mainStream().size()) {
                            overlong_ = true;
                            return false;
                        }
                        TextAssembler::Mark mark = TextAssembler::Mark::Plain;
                        if (unit == kCellMark && endsRow(offset, previous))
                            mark = TextAssembler::Mark::RowEnd;
                        assembler_.put(unit, mark);
                        previous = unit;
                        if (++done_ % kProgressStep == 0)
                            reportProgress();
                        return true;
                    });
    assembler_.endStory();
    reportProgress();
}

// Without readable paragraph formatting, the second of two cell marks in a
// row is taken as the row end (wrong where a cell is empty).
bool StoryReader::endsRow(std::uint32_t offset, char16_t previous)
{
    if (rowEnds_)
        return rowEnds_->endsRow(offset);
    guessedRowEnds_ = true;
    return previous == kCellMark;
}

void StoryReader::reportProgress()
{
    if (options_.progress)
        options_.progress(static_cast<int>(std::min<std::uint64_t>(100, done_ * 100 / total_)));
}

}  // namespace leafmill::extract::doc
