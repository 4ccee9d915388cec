#pragma once

#include "text/SourceEncoding.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

class CodePage;

namespace extract {

struct Result;

// Reads a document embedded in the one being read (a Word document's
// altChunk parts) with the reader of its kind, named by the ending a source
// of that kind has (".htm", ".rtf", ".txt", "docx"). Readers never include
// one another: the dispatch lends them this.
using EmbeddedReader = std::function<Result(std::string_view ending, std::string_view bytes)>;

struct Chapter;

// Takes a document's text while it is read, so that a long document's text
// never has to be held whole: each piece is UTF-8 ending at a line end and
// follows the piece before, with the chapters that start in it (their
// offsets counted from the start of the whole text).
using TextSink = std::function<void(std::string_view text, std::span<const Chapter> chapters)>;

// What every extractor is given besides the document's bytes.
struct Options {
    // The program's code page: the encoding of sources that declare none, and
    // the default for 8-bit text inside documents.
    const CodePage* codePage = nullptr;
    // How a text that declares no encoding is read: kDetectEncoding to find
    // it from its bytes, else an encoding's name.
    std::string_view sourceEncoding = kDetectEncoding;
    // Whole percentages of the work done, 0..100 (may be empty).
    std::function<void(int)> progress;
    // Empty where embedded documents are not followed (inside one, say):
    // they are then left out with a warning.
    EmbeddedReader readEmbedded;
    // Where a reader hands its text on as it goes (see handOn); empty: the
    // whole text stays in Result::text.
    TextSink sink;
    // How much text gathers before it is handed on.
    std::size_t pieceSize = std::size_t {1} << 20;
    // Told that the reader is done with these of the document's bytes for
    // now, so that the memory a mapped file's pages take may be given back
    // (they are read from the disk again if looked at); may be empty.
    std::function<void(std::string_view bytes)> release;
};

// Where a chapter starts in an extracted text, for the book's contents note:
// a heading, a table-of-contents entry or a bookmark the document itself has.
struct Chapter {
    std::string title;  // UTF-8, one line
    std::size_t offset = 0;  // byte offset into the whole text where the chapter's heading starts
    int level = 1;  // 1 for the top level (h1, outline level 1), 2 below it, ...
};

// The plain text of a document. On success `text` is UTF-8 with CR LF line
// ends; `warnings` lists what was survivable (a skipped object, an unknown
// code page). On failure `error` says why, in words a person can read.
struct Result {
    bool ok = false;
    // The text not yet handed on to Options::sink: all of it when there is none.
    std::string text;
    std::size_t handedOn = 0;  // bytes handed on before `text`
    std::size_t chaptersHandedOn = 0;  // the first chapters, handed on with them
    std::vector<std::string> warnings;
    // The chapters the document's structure names, in text order; empty when
    // it has none (the caller may then look for headings in the text).
    std::vector<Chapter> chapters;
    // The encoding a text that declares none was found to be in, when it is
    // not the code page.
    std::string readAs;
    std::string error;

    // The offset in the whole text that the next byte appended gets.
    std::size_t end() const { return handedOn + text.size(); }

    static Result failure(std::string reason)
    {
        Result r;
        r.error = std::move(reason);
        return r;
    }
};

using Extractor = Result (*)(std::string_view bytes, const Options& options);

// Hands `result.text` up to its last line end on to the options' sink, with
// the chapters that start in it, once a piece has gathered; with `all`,
// every byte (the text must then end at a line end or be complete). Does
// nothing without a sink. Readers call it where nothing they do later looks
// back at the text: between pages, paragraphs or parts; chapters added later
// must start at or after end().
void handOn(Result& result, const Options& options, bool all = false);
// The same, handing on nothing at or after `limit` (an offset in the whole
// text): where the text from there on may still change.
void handOnBefore(Result& result, const Options& options, std::size_t limit);

}  // namespace extract
}  // namespace leafmill
