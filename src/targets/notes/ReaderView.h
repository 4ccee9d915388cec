#pragma once

#include "text/PageEncoder.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

// A piece of a note's shown text; `link` is an index into the note's links,
// or -1 for plain text.
struct NoteRun {
    std::string text;  // UTF-8
    int link = -1;
};

struct NoteLink {
    std::string href;
    bool nopush = false;
};

// A note as the iPod's Notes reader shows it, and what it finds wrong.
struct ReaderNote {
    std::string title;  // empty: the reader shows the file name
    std::vector<NoteRun> runs;  // line breaks are '\n' in the text
    std::vector<NoteLink> links;
    std::string encoding;  // the settings name of the encoding it was read in
    DecodeFaults faults;  // bytes that are no characters of that encoding
    std::vector<std::string> badTags;  // badly formed tags, as written
    std::size_t size = 0;  // the note's bytes, read or not
    std::string cutFrom;  // the first words the reader no longer reads
};

// Reads a note the way the reader does: only its first 4,096 bytes, in the
// encoding its first line declares (<?xml encoding="UTF8"?>, not shown) or
// else the one the reader is set to; <TITLE>, <A HREF>, <BR> and <P> act (any
// case), comments go, other tags and stray '<' show as text, the common
// entities are decoded.
ReaderNote readReaderNote(std::string_view bytes, const PageEncoder& readerEncoding);

// The first line that makes the reader read pages of that encoding whatever
// it is set to, with its line end; empty when the reader takes the encoding
// by its own setting or knows no name for it.
std::string encodingDeclaration(const PageEncoder& pages);

// The note's text in lines no wider than `width` by `measure`, broken after
// spaces, a word too long for a line broken between characters.
using LineOfRuns = std::vector<NoteRun>;
std::vector<LineOfRuns> wrapNote(const ReaderNote& note, int width,
                                 const std::function<int(std::string_view)>& measure);

// The reader's Menu history: following a link opens its note on top, a
// NOPUSH link replaces the note shown, Menu goes back one step.
class ReaderHistory {
public:
    void open(std::string file) { stack_.push_back(std::move(file)); }
    void follow(const NoteLink& link);
    // False when the history was empty: back at the folder's menu.
    bool back();
    // The note shown, or null at the menu.
    const std::string* current() const { return stack_.empty() ? nullptr : &stack_.back(); }

private:
    std::vector<std::string> stack_;
};

}  // namespace leafmill
