#pragma once

#include "convert/PageText.h"
#include "convert/SourceDispatch.h"
#include "convert/SourceFailure.h"
#include "convert/TextSource.h"
#include "text/PageEncoder.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

class CodePage;

// A document's plain text (UTF-8), or why there is none.
struct ExtractedText {
    std::string text;
    SourceFailure failure = SourceFailure::None;  // Missing or ExtractorFailed
    std::string reason;
    std::vector<std::string> warnings;
    std::vector<extract::Chapter> chapters;
};

// Reads the source and runs the extractor of its kind over it.
ExtractedText extractSource(const std::string& path, const SourceKind& kind, const CodePage& codePage,
                            std::function<void(int)> progress);

// A text source of that form as UTF-8: code-page bytes through the code page
// (a UTF-8 mark left out), UTF-16 and UTF-32 as they say.
ExtractedText readTextSource(const std::string& path, const CodePage& codePage, TextForm form);

// Where a chapter starts in the bytes a source is cut from.
struct ChapterMark {
    std::string title;
    std::size_t offset = 0;
};

// A source read up to the bytes its pages are cut from: either the source
// itself (plain text in the code page), or bytes handed to the sink; with
// what its reader said.
struct PreparedSource {
    SourceFailure failure = SourceFailure::None;
    std::string reason;
    std::vector<std::string> warnings;
    bool cutInPlace = false;
    std::size_t skip = 0;  // a byte-order mark the cut leaves out
    Replacements replaced;
    std::vector<ChapterMark> chapters;  // with page text only
};

// Where the bytes go while a source is read.
struct SourceSink {
    std::function<void(int)> progress;  // the reader's whole percentages
    // Once, before the bytes: the kind word of the reader that made them.
    std::function<void(std::string_view kindWord)> begin;
    std::function<void(std::string_view bytes)> bytes;  // in pieces, in order
};

// Reads a source whose ending is in the table: by its content's reader, its
// text in the code page, or in the page encoding with its chapters when
// `pageText` has an encoder.
PreparedSource prepareSource(const std::string& path, const SourceKind& named, const DispatchTable& table,
                             const CodePage& codePage, const PageTextRules& pageText, const SourceSink& sink);

}  // namespace leafmill
