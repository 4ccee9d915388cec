#pragma once

#include "app/Settings.h"
#include "targets/notes/BookFinisher.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace leafmill {

class CodePage;
class LanguageTable;
class PageEncoder;

// How the pages of a book for the Notes reader are laid out before they are
// cut: their encoding, their markup and the room the markup leaves the text.
struct NotesLayout {
    std::shared_ptr<const PageEncoder> encoder;  // null: plain pages as the code page writes them
    BookPlan plan;  // the markup; pages and chapters come with the cut
    std::string stem;  // the page names' stem
    int32_t pageSize = 0;  // the bytes of text a page takes; 0: not cut
    std::size_t contentsSize = 0;  // the bytes a contents note may take
    std::size_t volumeNotes = 0;  // the most notes a volume takes; 0: one book
};

// Lays out the book `bookName` by the settings. False with the refusal when
// the page encoding cannot be used or the markup leaves a page no room for
// text.
bool planNotesBook(const Settings& settings, const CodePage& codePage, const LanguageTable& language,
                   const std::string& bookName, NotesLayout* layout, Refusal* refusal);

// Finishes the cut pages (in their folder, reading order): numbers them to
// one width, parts them into volumes when the layout says so, writes their
// markup and contents; whole-file notes get the encoding's first line only.
// `continuedIn` gives the line a volume's last page ends with, for the folder
// of the volume after it.
bool finishNotesBook(NotesLayout layout, const CutPages& pages,
                     const std::function<std::string(const std::string&)>& continuedIn, FinishedBook* made,
                     std::string* error);

}  // namespace leafmill
