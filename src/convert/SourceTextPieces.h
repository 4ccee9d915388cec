#pragma once

#include "convert/PageText.h"
#include "convert/PreparedSource.h"
#include "extract/Extractor.h"

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

class CodePage;

// The bytes a source's pages are cut from, made from its UTF-8 text a piece
// at a time and handed to the sink as they are made, so that the text is
// never held whole: in the code page, or in the page encoding with the
// chapters found again in the bytes. Pieces end at line ends (the last one
// may not), where no heading, character or escape runs on into the next.
class SourceTextPieces {
public:
    SourceTextPieces(const CodePage& codePage, const PageTextRules& rules, const SourceSink& sink);

    // The next piece, with the document's own chapters that start in it
    // (offsets counted from the start of the whole text).
    void add(std::string_view utf8, std::span<const extract::Chapter> chapters = {});

    // Gives `prepared` the chapters of the page text — the document's own,
    // else the lines that look like headings; a text no chapter opens starts
    // with one named `fileTitle` — and the characters the encoding replaced.
    void finish(const std::string& fileTitle, PreparedSource& prepared);

private:
    struct Found {
        std::vector<ChapterMark> marks;  // titles with page-byte offsets
        std::size_t firstOffset = std::string::npos;  // the first one's UTF-8 offset
    };
    static void note(Found& found, std::size_t textOffset);

    const CodePage& codePage_;
    const PageTextRules& rules_;
    const SourceSink& sink_;
    PageText page_;
    std::size_t textDone_ = 0;  // UTF-8 bytes added so far
    std::size_t pageDone_ = 0;  // page bytes handed over so far
    std::size_t textStart_ = std::string::npos;  // the first byte that is not white space
    Found ownChapters_;
    Found headings_;
};

}  // namespace leafmill
