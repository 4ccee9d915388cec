#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace leafmill {

class LanguageTable;
class PageEncoder;
struct NotesReaderSettings;

// The encoding the reader is set to for books made with these settings: the
// page encoding's when it can be set to it, else its default, Latin-1.
std::string readerEncodingFor(const NotesReaderSettings& notes, const std::string& codePageName);

// Something the Notes reader would report about a folder of notes, or lose
// without a word.
struct CheckFinding {
    enum class Kind {
        Unreadable,  // detail: the system's reason
        NoteCut,  // count: the note's bytes; detail: the text the reader no longer shows
        NotLoaded,  // note: the first note not loaded; count: the notes; other: those not loaded
        DeadLink,  // detail: the link's target
        BadTag,  // detail: the tag as written
        BadBytes,  // count: the bytes; other: the first one's offset; detail: the encoding
        MenuOrder,  // detail: the note it stands before in the menu, though it follows it
    };
    Kind kind;
    std::string note;  // within the folder checked (the Notes folder for NotLoaded), '/' between folders
    std::string detail;
    int64_t count = 0;
    int64_t other = 0;
};

// Reads every note in `folder` as the reader set to `readerEncoding` does and
// tells what it would report or silently lose: notes longer than it reads,
// notes past the 1,000 of the Notes folder it loads (the folder's iPod's, or
// the folder itself when it is on none), links to no note it loads (relative
// to the note's folder, or from the Notes folder when they begin with '/'),
// badly formed tags, bytes that are no text of the encoding the note is read
// in, and numbered notes the menu lists out of their order.
std::vector<CheckFinding> checkNotes(const std::filesystem::path& folder, const PageEncoder& readerEncoding);

// The findings in the language, one a line after a heading, or the line that
// says nothing is wrong.
std::string checkReport(const LanguageTable& language, const std::string& folder,
                        const std::vector<CheckFinding>& findings);

}  // namespace leafmill
