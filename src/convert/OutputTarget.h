#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace leafmill {

class LanguageTable;
class PageEncoder;
struct MessageSection;
struct RunResult;

// Where a chapter of the book starts.
struct ChapterStart {
    std::string title;  // UTF-8
    int32_t page = 0;  // index into the book's pages
    bool opensPage = false;  // the page begins with it: a source's first, or cut at the heading
};

// A page longer than the target shows whole.
struct CutNote {
    std::string name;  // within the book folder
    std::uintmax_t size = 0;
};

// Why a run cannot begin: a language string and the values of its markers.
struct Refusal {
    int text = 0;
    std::vector<std::pair<std::string, std::string>> values;  // marker, value
};

// How a target wants the sources' text cut into pages.
struct PageLayout {
    std::shared_ptr<const PageEncoder> encoder;  // null: pages in the code page, as the sources give them
    // Writes text that the target would take for its own markup so that it
    // shows as written; null: no markup.
    std::string (*escape)(std::string_view) = nullptr;
    std::vector<std::string> unsplit;  // strings no page ends within
    bool chapterPages = false;  // a chapter starts on a new page
    bool joinLines = false;  // hard-wrapped text sources are unwrapped
    std::string stem;  // the page names' stem
    // The bytes of text a page takes, the room the target keeps for its own
    // lines taken off; 0: a source is one page.
    int32_t pageSize = 0;
};

// The pages a run cut, in the folder the book is staged in.
struct CutPages {
    std::string folder;  // ending with a separator
    std::size_t count = 0;
    std::function<std::string(std::size_t)> nameOf;  // the name the cut gave page i, inside the folder
    std::vector<std::string> wholeFiles;  // with whole files, their pages' names instead
    bool isWholeFiles = false;
    std::vector<ChapterStart> chapters;  // in page order
    const std::atomic<bool>* stopNow = nullptr;  // once set, no further page is rewritten
};

// What the target made of the cut pages.
struct FinishedBook {
    std::size_t notes = 0;  // the files the reader loads, all volumes together
    std::size_t volumes = 0;  // 0: one book
    std::vector<CutNote> cutNotes;
};

// The kind of book a run makes: what it does to the pages before and after
// they are cut. The front ends choose it; the engine knows only this face.
class OutputTarget {
public:
    virtual ~OutputTarget() = default;

    // Lays out the book `bookName` before any page is cut; false with the
    // refusal when the target cannot make it by its settings.
    virtual bool layOut(const std::string& bookName, PageLayout* layout, Refusal* refusal) = 0;

    // Finishes the cut pages of the book laid out last once all are known;
    // false with the reason when a file could not be written.
    virtual bool finish(const CutPages& pages, FinishedBook* made, std::string* error) = 0;

    // The files the reader loads once the book of `bookNotes` is in
    // `outputFolder`, those of the book's neighbours included.
    virtual int64_t notesToLoad(const std::string& outputFolder, int64_t bookNotes) const = 0;

    // What the end of a run tells about the target's own limits.
    virtual std::vector<MessageSection> endSections(const LanguageTable& language, const RunResult& result) const = 0;
};

}  // namespace leafmill
