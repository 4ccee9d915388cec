#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

class CodePage;

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

// A note as the iPod's Notes reader shows it.
struct ReaderNote {
    std::string title;  // empty: the reader shows the file name
    std::vector<NoteRun> runs;  // line breaks are '\n' in the text
    std::vector<NoteLink> links;
};

// Reads a note the way the reader does: only its first 4,096 bytes, in the
// encoding the reader is set to; <TITLE>, <A HREF>, <BR> and <P> act (any
// case), comments go, other tags and stray '<' show as text, the common
// entities are decoded.
ReaderNote readReaderNote(std::string_view bytes, const CodePage& encoding);

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
