#pragma once

#include "convert/PageText.h"
#include "convert/SourceFailure.h"
#include "convert/TextSource.h"
#include "extract/Formats.h"
#include "text/PageEncoder.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

class CodePage;
class InputFile;

// A document's plain text (UTF-8), or why there is none.
struct ExtractedText {
    std::string text;
    SourceFailure failure = SourceFailure::None;  // Missing or ExtractorFailed
    std::string reason;
    std::vector<std::string> warnings;
    std::vector<extract::Chapter> chapters;
    std::string readAs;  // the encoding a text without a declared one was read in, when not the code page
};

// Reads the open source and runs the extractor of its kind over it;
// `sourceEncoding` is the setting for pages that declare no encoding
// (kDetectEncoding or a name).
ExtractedText extractSource(InputFile& source, const SourceKind& kind, const CodePage& codePage,
                            std::string_view sourceEncoding, std::function<void(int)> progress,
                            extract::TextSink sink = {});
// The same for a document's bytes in memory. With a sink, the text the
// reader hands on as it reads goes there; `text` and `chapters` hold the rest.
// `release` is told of the bytes the reader is done with (Options::release).
ExtractedText extractBytes(std::string_view bytes, const SourceKind& kind, const CodePage& codePage,
                           std::string_view sourceEncoding, std::function<void(int)> progress,
                           extract::TextSink sink = {}, std::function<void(std::string_view)> release = {});

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
    std::string readAs;  // the encoding a text was read in, when not the code page
};

// Where the bytes go while a source is read.
struct SourceSink {
    std::function<void(int)> progress;  // the reader's whole percentages
    // Once, before the bytes: the kind word of the reader that made them.
    std::function<void(std::string_view kindWord)> begin;
    std::function<void(std::string_view bytes)> bytes;  // in pieces, in order
};

// Opens the source for prepareSource; when it cannot be, what reading it
// comes to: Missing with the system's reason, or UnsupportedKind when its
// name ends in no row's ending either.
PreparedSource openSource(const std::string& path, const DispatchTable& table, InputFile& source);

// Reads the source at `path`, open as `source`, by the reader its name and
// content choose: its text in the code page, or in the page encoding with its
// chapters when `pageText` has an encoder; text sources in their own encoding
// (`sourceEncoding`, as for extractSource).
PreparedSource prepareSource(const std::string& path, InputFile& source, const DispatchTable& table,
                             const CodePage& codePage, const PageTextRules& pageText, std::string_view sourceEncoding,
                             const SourceSink& sink);

}  // namespace leafmill
