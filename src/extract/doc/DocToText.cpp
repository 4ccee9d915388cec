#include "extract/doc/DocToText.h"

#include "extract/doc/CompoundFile.h"
#include "extract/doc/DocFormatError.h"
#include "extract/doc/ForeignFormat.h"
#include "extract/doc/LittleEndian.h"
#include "extract/doc/PieceTable.h"
#include "extract/doc/RowEndMarks.h"
#include "extract/doc/TextAssembler.h"
#include "extract/doc/WordDocument.h"

#include <algorithm>
#include <new>

namespace leafmill::extract {

namespace {

using doc::TextAssembler;

constexpr char16_t kCellMark = 0x07;

// Character positions [start, end) of one story.
struct Story {
    std::uint64_t start;
    std::uint64_t end;
};

// Reads the stories in order and feeds their characters to the assembler.
class StoryReader {
public:
    StoryReader(const doc::WordDocument& document, const Options& options, std::vector<std::string>& warnings)
        : document_(document)
        , options_(options)
        , warnings_(warnings)
        , pieces_(doc::PieceTable::parse(
              doc::slice(document.tableStream(), document.fib().fcClx, document.fib().lcbClx, "the piece table")))
        , rowEnds_(doc::RowEndMarks::read(document.mainStream(), document.tableStream(), document.fib()))
    {
    }

    std::string run()
    {
        const doc::Fib& fib = document_.fib();
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
        assembler_.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(total_, document_.mainStream().size()))
                           + 2);
        read(stories[0]);
        mainTextLength_ = assembler_.size();
        read(stories[1]);
        read(stories[2]);
        done_ = total_;
        reportProgress();
        if (missing_ > 0)
            warnings_.push_back(std::to_string(missing_)
                                + " characters lie outside the document's text and were left out");
        if (overlong_)
            warnings_.push_back("the piece table names more text than the document holds; the rest was left out");
        if (guessedRowEnds_)
            warnings_.push_back("the table layout could not be read, so the ends of table rows were guessed");
        return assembler_.take();
    }

    // Bytes of the main text at the start of the result.
    std::size_t mainTextLength() const { return mainTextLength_; }

private:
    void read(const Story& story)
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

    // Without readable paragraph formatting, the second of two cell marks in
    // a row is taken as the row end (wrong only for an empty last cell).
    bool endsRow(std::uint32_t offset, char16_t previous)
    {
        if (rowEnds_)
            return rowEnds_->endsRow(offset);
        guessedRowEnds_ = true;
        return previous == kCellMark;
    }

    void reportProgress()
    {
        if (options_.progress)
            options_.progress(static_cast<int>(std::min<std::uint64_t>(100, done_ * 100 / total_)));
    }

    static constexpr std::uint64_t kProgressStep = 1 << 16;

    const doc::WordDocument& document_;
    const Options& options_;
    std::vector<std::string>& warnings_;
    doc::PieceTable pieces_;
    std::optional<doc::RowEndMarks> rowEnds_;
    TextAssembler assembler_;
    std::uint64_t missing_ = 0;
    std::uint64_t done_ = 0;
    std::uint64_t total_ = 1;
    std::size_t mainTextLength_ = 0;
    bool guessedRowEnds_ = false;
    bool overlong_ = false;
};

}  // namespace

Result docToText(std::string_view bytes, const Options& options)
{
    return doc::docToText(bytes, options, nullptr);
}

Result doc::docToText(std::string_view bytes, const Options& options, std::size_t* mainTextLength)
{
    if (std::optional<std::string> reason = doc::foreignFormatReason(bytes))
        return Result::failure(*reason);
    try {
        const doc::CompoundFile file(bytes);
        const doc::WordDocument document(file);
        Result result;
        StoryReader reader(document, options, result.warnings);
        result.text = reader.run();
        if (mainTextLength)
            *mainTextLength = reader.mainTextLength();
        result.ok = true;
        return result;
    } catch (const doc::DocFormatError& error) {
        return Result::failure(error.what());
    } catch (const std::bad_alloc&) {
        return Result::failure("there is not enough memory to read the document");
    }
}

}  // namespace leafmill::extract
