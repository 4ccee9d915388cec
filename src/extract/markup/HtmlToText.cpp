#include "extract/markup/HtmlToText.h"

#include "extract/common/TextDocument.h"
#include "extract/markup/HeadingPlacement.h"
#include "extract/markup/HtmlHeadings.h"
#include "extract/markup/HtmlLineFilter.h"
#include "extract/markup/LineReader.h"
#include "extract/markup/PageDecoding.h"
#include "text/AsciiCase.h"
#include "text/CodePage.h"

namespace leafmill::extract {

namespace {

// How far back in the text handed on a piece at a time a heading's words are
// looked for: a chapter of the page longer than this may start at a later
// mention of the next heading's words than the first.
constexpr std::size_t kHeadingReach = std::size_t {4} << 20;

// The page's text length in the code page, which the progress is a share of:
// a pass of its own, since the text is never held whole.
std::uint64_t textLength(std::string_view bytes, const TextReading& reading, const CodePage& codePage,
                         const Options& options)
{
    DecodedPieces decoder(bytes, reading, options.pieceSize, options.release, LineReader::kSegmentEnd);
    std::uint64_t length = 0;
    for (std::string piece; decoder.next(piece);)
        length += codePageLength(codePage, piece);
    return length;
}

}  // namespace

Result htmlToText(std::string_view bytes, const Options& options)
{
    std::shared_ptr<const CodePage> systemPage;
    const CodePage* codePage = programCodePage(options, systemPage);
    if (!codePage)
        return Result::failure("no code page to read the page in");

    Result result;
    const TextReading reading
        = choosePageReading(bytes, *codePage, options.sourceEncoding, options.release, result.warnings);
    result.readAs = reading.readAs;
    const std::uint64_t length = options.progress ? textLength(bytes, reading, *codePage, options) : 0;

    // The markup is decoded a piece at a time; each piece is searched for
    // headings as the filter takes it.
    DecodedPieces decoder(bytes, reading, options.pieceSize, options.release, LineReader::kSegmentEnd);
    HtmlHeadings headings;
    HeadingPlacement placement(options.sink ? kHeadingReach : std::numeric_limits<std::size_t>::max());
    std::vector<PageHeading> found;
    const auto placeFound = [&] {
        for (PageHeading& heading : found)
            placement.add(std::move(heading), result);
        found.clear();
    };
    const auto more = [&](std::string& piece) {
        if (!decoder.next(piece))
            return false;
        headings.add(piece, found);
        placeFound();
        return true;
    };
    // Segments of a long line a quarter of a piece long keep the copies the
    // filter makes of one small.
    LineReader lines(more, options.pieceSize / 4);
    HtmlLineFilter filter(*codePage, options.progress, length);
    while (filter.filterLine(lines, result.text))
        placement.place(result, options);
    headings.finish(found);
    placeFound();
    placement.finish(result);
    handOn(result, options, true);
    result.ok = true;
    return result;
}

Result bookPageText(std::string page, const Options& options)
{
    const std::string lowered = asciiLowered(page);
    const std::size_t open = lowered.find("<title");
    const std::size_t close = lowered.find("</title>", open);
    if (open != std::string::npos && close != std::string::npos)
        page.erase(open, close + 8 - open);
    return htmlToText(page, options);
}

}  // namespace leafmill::extract
