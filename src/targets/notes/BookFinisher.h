#pragma once

#include "convert/OutputTarget.h"
#include "targets/notes/PageMarkup.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

class PageEncoder;

// What the pages of a finished run get once the whole book is known: titles
// that count the pages, Previous and Next links, and the contents note.
struct BookPlan {
    const PageEncoder* encoder = nullptr;
    bool links = false;
    bool titles = false;
    bool contents = false;
    std::string bookName;  // what the titles call the book
    LinkTexts texts;
    std::string contentsTitle;
    // The first line of every note, in the page encoding: the encoding the
    // reader is to read it in; empty when it reads it by its own setting.
    std::string declaration;
    std::string continuation;  // a line after the last page's text, UTF-8; empty: none
    std::string folder;  // the book folder, ending with a separator
    std::string stem;  // of the page names, which are numbered to one width
    std::size_t pageCount = 0;
    std::vector<ChapterStart> chapters;  // in page order
    const std::atomic<bool>* stopNow = nullptr;  // once set, no further page is rewritten
};

// The file name of page `index` (from 0) of the book, inside its folder.
std::string pageName(const BookPlan& plan, std::size_t index);

// Longest title a chapter gives its pages, in bytes of the page encoding.
inline constexpr std::size_t kChapterTitleBytes = 60;

// The bytes the markup of any page of such a book can take, so the cutter
// leaves room for it: a page with its markup stays within the page size.
std::size_t markupReserve(const BookPlan& plan, std::size_t longestPageName);

// How many contents notes of at most `pageSize` bytes the book takes.
std::size_t contentsNotes(const BookPlan& plan, std::size_t pageSize);

// Rewrites every page with its markup (each page rewritten whole, or left as
// it was when that fails) and writes the contents notes, each at most
// `pageSize` bytes; `notes` is then the number of notes of the book, and the
// pages the reader cuts short are added to `cutNotes` (named within the
// plan's folder). False with the reason when a file could not be written.
bool finishBook(const BookPlan& plan, std::size_t pageSize, std::size_t* notes, std::vector<CutNote>* cutNotes,
                std::string* error);

// The title page `index` shows: its chapter's (or the book's) name and where
// it stands in the book, as the page encoding writes it.
std::string pageTitle(const BookPlan& plan, std::size_t index);

// Writes `head` before the note's bytes and `tail` after them, in place; the
// note is rewritten whole, or stays as it was when that fails. `size` is
// then the note's size; `scratch` is reused from note to note.
bool frameNoteFile(const std::string& path, std::string_view head, std::string_view tail, std::string& scratch,
                   std::uintmax_t* size, std::string* error);

}  // namespace leafmill
