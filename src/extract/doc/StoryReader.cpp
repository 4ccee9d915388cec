#include "extract/doc/StoryReader.h"

#include "extract/common/ChapterTitle.h"
#include "extract/doc/DocFormatError.h"
#include "extract/doc/LittleEndian.h"
#include "extract/doc/TextBoxes.h"
#include "extract/doc/WordDocument.h"
#include "text/Utf8.h"

#include <algorithm>

namespace leafmill::extract::doc {

namespace {

constexpr char16_t kCellMark = 0x07;
constexpr char16_t kParagraphMark = 0x0D;
constexpr char16_t kAutoNoteMark = 0x02;
// Outline levels 0..2 (Word's levels 1 to 3) start chapters.
constexpr int kChapterLevels = 3;
constexpr std::uint64_t kProgressStep = 1 << 16;

}  // namespace

StoryReader::StoryReader(const WordDocument& document, const Options& options, Result& result)
    : document_(document)
    , options_(options)
    , result_(result)
    , warnings_(result.warnings)
    , pieces_(readPieces())
    , formatting_(document)
    , noteMarks_(NoteMarks::read(document, pieces_))
    , assembler_(result.text)
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

void StoryReader::run()
{
    const Fib& fib = document_.fib();
    const std::uint64_t footnotes = fib.ccpText;
    const std::uint64_t endnotes = footnotes + fib.ccpFtn + fib.ccpHdd + fib.ccpMcr + fib.ccpAtn;
    // Lengths past the end of the piece table are cut to it.
    const std::uint64_t last = pieces_.cpEnd();
    // The main text, each text box as a paragraph of its own, the notes.
    std::vector<Story> stories = {{0, std::min<std::uint64_t>(fib.ccpText, last)}};
    for (const auto& [start, end] : textBoxRanges(document_))
        stories.push_back({std::min(start, last), std::min(end, last)});
    stories.push_back({std::min(footnotes, last), std::min(footnotes + fib.ccpFtn, last)});
    stories.push_back({std::min(endnotes, last), std::min(endnotes + fib.ccpEdn, last)});
    total_ = 1;
    for (const Story& story : stories)
        total_ += story.end - story.start;
    // Mostly one byte per character; never more than the stream or a piece can hold.
    std::uint64_t expected = std::min<std::uint64_t>(total_, document_.mainStream().size());
    if (options_.sink)
        expected = std::min<std::uint64_t>(expected, options_.pieceSize + (1 << 16));
    assembler_.reserve(static_cast<std::size_t>(expected) + 2);
    for (const Story& story : stories) {
        read(story, &story == &stories.front());
        if (&story == &stories.front())
            mainTextLength_ = result_.end();
    }
    reportLosses();
    done_ = total_;
    reportProgress();
    if (result_.end() == 0)
        result_.text = "\r\n";
}

void StoryReader::reportLosses()
{
    if (document_.damaged()) {
        // Never made up: what the broken stream lost is left out and counted.
        if (done_ == 0)
            throw DocFormatError("the document is damaged and none of its text can be read");
        warnings_.push_back(missing_ > 0 ? "the document is damaged; " + std::to_string(missing_)
                                    + " characters could not be read"
                                         : std::string("the document is damaged, but all of its text could be read"));
    } else if (missing_ > 0) {
        warnings_.push_back(std::to_string(missing_) + " characters lie outside the document's text and were left out");
    }
    if (overlong_)
        warnings_.push_back("the piece table names more text than the document holds; the rest was left out");
    if (guessedRowEnds_)
        warnings_.push_back("the table layout could not be read, so the ends of table rows were guessed");
}

void StoryReader::read(const Story& story, bool main)
{
    if (story.start >= story.end)
        return;
    char16_t previous = 0;
    startParagraph();
    pieces_.forEach(
        document_.mainStream(), static_cast<std::uint32_t>(story.start), static_cast<std::uint32_t>(story.end),
        &missing_,
        [&](char16_t unit, std::uint32_t offset) {
            // Every character takes a byte of the stream at least, unless a
            // damaged table names the same bytes again and again.
            if (done_ >= document_.mainStream().size()) {
                overlong_ = true;
                return false;
            }
            put(unit, offset, previous, main);
            previous = unit;
            if (++done_ % kProgressStep == 0)
                reportProgress();
            return true;
        },
        options_.release);
    assembler_.endStory();
    reportProgress();
}

void StoryReader::put(char16_t unit, std::uint32_t offset, char16_t previous, bool main)
{
    if (unit == kCellMark && endsRow(offset, previous)) {
        assembler_.put(unit, TextAssembler::Mark::RowEnd);
        startParagraph();
        return;
    }
    if (unit == kParagraphMark || unit == kCellMark) {
        endParagraph(offset, main);
        assembler_.put(unit);
        startParagraph();
        return;
    }
    if (const std::string* number = unit == kAutoNoteMark ? noteMarks_.at(offset) : nullptr) {
        assembler_.putGenerated(*number);
    } else if (const char32_t symbol = formatting_.symbol(offset, unit)) {
        std::string shown;
        appendUtf8(symbol, shown);
        assembler_.putGenerated(shown);
    } else {
        assembler_.put(unit);
    }
}

// A paragraph of a list gets its label in front; a heading of the main text
// starts a chapter named by it, label included.
void StoryReader::endParagraph(std::uint32_t offset, bool main)
{
    const ParagraphFormat format = formatting_.paragraph(offset);
    if (const std::string label = formatting_.nextListLabel(format); !label.empty())
        assembler_.insert(paragraphStart_, label);
    if (main && format.outlineLevel && *format.outlineLevel < kChapterLevels) {
        std::string title = chapterTitle(assembler_.textSince(paragraphStart_));
        if (!title.empty())
            result_.chapters.push_back(
                {std::move(title), result_.handedOn + paragraphStart_, *format.outlineLevel + 1});
    }
}

// Nothing before a paragraph changes once it starts: that text is handed on.
void StoryReader::startParagraph()
{
    handOn(result_, options_);
    paragraphStart_ = assembler_.size();
}

// Without readable paragraph formatting, the second of two cell marks in a
// row is taken as the row end (wrong where a cell is empty).
bool StoryReader::endsRow(std::uint32_t offset, char16_t previous)
{
    if (formatting_.hasParagraphs())
        return formatting_.paragraph(offset).rowEnd;
    guessedRowEnds_ = true;
    return previous == kCellMark;
}

void StoryReader::reportProgress()
{
    if (options_.progress)
        options_.progress(static_cast<int>(std::min<std::uint64_t>(100, done_ * 100 / total_)));
}

}  // namespace leafmill::extract::doc
