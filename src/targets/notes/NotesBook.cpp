#include "targets/notes/NotesBook.h"

#include "convert/EndMessage.h"
#include "convert/PageNames.h"
#include "io/FileAccess.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "targets/notes/NotesNames.h"
#include "targets/notes/ReaderLimits.h"
#include "targets/notes/ReaderView.h"
#include "text/CodePage.h"
#include "text/PageEncoder.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace leafmill {

namespace {

// Fewer bytes of text than this beside the markup make no readable page.
constexpr std::size_t kLeastPageText = 16;
// Page numbers of up to 7 digits fit the room kept for links.
constexpr std::size_t kLongestPageNumber = 7;
constexpr std::string_view kNoteEnding = ".txt";
// The CR LF that closes every page.
constexpr std::size_t kLineEnd = 2;

bool moveNote(const std::string& from, const std::string& to, std::string* error)
{
    std::error_code ec;
    std::filesystem::rename(pathFromUtf8(from), pathFromUtf8(to), ec);
    if (ec)
        *error = from + ": " + ec.message();
    return !ec;
}

// The chapters of pages [first, end), counted from `first`; the chapter a
// volume opens in names its first page.
std::vector<ChapterStart> chaptersWithin(const std::vector<ChapterStart>& chapters, std::size_t first, std::size_t end)
{
    std::vector<ChapterStart> within;
    const ChapterStart* before = nullptr;
    for (const ChapterStart& chapter : chapters) {
        const auto page = static_cast<std::size_t>(chapter.page);
        if (page < first)
            before = &chapter;
        else if (page < end)
            within.push_back({chapter.title, static_cast<int32_t>(page - first), chapter.opensPage});
    }
    if (before && (within.empty() || within.front().page > 0))
        within.insert(within.begin(), {before->title, 0, false});
    return within;
}

// The plan of the volume of pages [first, end) in `folder`.
BookPlan volumePlan(const NotesLayout& layout, const std::vector<ChapterStart>& chapters, std::size_t first,
                    std::size_t end, const std::string& name, const std::string& folder)
{
    BookPlan plan = layout.plan;
    plan.bookName = name;
    plan.folder = folder;
    plan.continuation.clear();
    plan.chapters = chaptersWithin(chapters, first, end);
    plan.stem = layout.stem;
    plan.pageCount = end - first;
    return plan;
}

// The record Leafmill keeps in every folder it writes is a file the reader
// loads like any note.
constexpr std::size_t kRecordNotes = 1;

// The ends of the volumes: each takes as many pages as fit beside its
// contents within the notes a volume may have, and at least one.
std::vector<std::size_t> volumeEnds(const NotesLayout& layout, const std::vector<ChapterStart>& chapters,
                                    std::size_t pages)
{
    std::vector<std::size_t> ends;
    for (std::size_t first = 0; first < pages;) {
        const auto notesOf = [&](std::size_t end) {
            const BookPlan plan = volumePlan(layout, chapters, first, end, layout.plan.bookName, {});
            return end - first + contentsNotes(plan, layout.contentsSize) + kRecordNotes;
        };
        std::size_t low = first + 1;
        std::size_t high = std::min(pages, first + layout.volumeNotes);
        while (low < high) {
            const std::size_t middle = (low + high + 1) / 2;
            if (notesOf(middle) <= layout.volumeNotes)
                low = middle;
            else
                high = middle - 1;
        }
        ends.push_back(low);
        first = low;
    }
    return ends;
}

bool makeVolumes(const NotesLayout& layout, const CutPages& pages,
                 const std::function<std::string(const std::string&)>& continuedIn, FinishedBook* made,
                 std::string* error)
{
    const std::vector<ChapterStart>& chapters = pages.chapters;
    const std::vector<std::size_t> ends = volumeEnds(layout, chapters, pages.count);
    const std::string separator(1, static_cast<char>(std::filesystem::path::preferred_separator));
    made->volumes = ends.size();
    std::size_t first = 0;
    for (std::size_t v = 0; v < ends.size(); ++v) {
        const std::string name = volumeFolderName(layout.plan.bookName, v + 1, ends.size());
        const std::string folder = layout.plan.folder + portableName(name) + separator;
        std::error_code ec;
        std::filesystem::create_directory(pathFromUtf8(folder), ec);
        if (ec) {
            *error = folder + ": " + ec.message();
            return false;
        }
        BookPlan plan = volumePlan(layout, chapters, first, ends[v], name, folder);
        for (std::size_t i = 0; i < plan.pageCount; ++i)
            if (!moveNote(layout.plan.folder + pages.nameOf(first + i), folder + pageName(plan, i), error))
                return false;
        if (v + 1 < ends.size())
            plan.continuation = continuedIn(volumeFolderName(layout.plan.bookName, v + 2, ends.size()));
        std::size_t notes = 0;
        const std::size_t cutBefore = made->cutNotes.size();
        const bool done = finishBook(plan, layout.contentsSize, &notes, &made->cutNotes, error);
        // Named within the book folder, as those of a book of one volume.
        for (std::size_t c = cutBefore; c < made->cutNotes.size(); ++c)
            made->cutNotes[c].name = folder.substr(layout.plan.folder.size()) + made->cutNotes[c].name;
        if (!done)
            return false;
        made->notes += notes;
        first = ends[v];
    }
    return true;
}

// Pages past the 10,000th got wider numbers as they were written; all pages
// get that width, so that the names sort as the pages follow.
bool numberToOneWidth(const BookPlan& plan, const CutPages& pages, std::string* error)
{
    for (std::size_t i = 0; i < pages.count; ++i) {
        const std::string cut = pages.nameOf(i);
        const std::string wide = pageName(plan, i);
        if (wide != cut && !moveNote(plan.folder + cut, plan.folder + wide, error))
            return false;
    }
    return true;
}

}  // namespace

bool planNotesBook(const Settings& settings, const CodePage& codePage, const LanguageTable& language,
                   const std::string& bookName, NotesLayout* layout, Refusal* refusal)
{
    *layout = NotesLayout();
    layout->pageSize = settings.wholeFileMode() ? 0 : settings.pageSize();
    layout->contentsSize = static_cast<std::size_t>(std::max(settings.pageSize(), 0));
    layout->stem = bookName;
    const NotesReaderSettings& notes = settings.NotesReader;
    if (!notes.present)
        return true;
    std::string reason;
    layout->encoder = PageEncoder::open(notes.PageEncoding.empty() ? codePage.name() : notes.PageEncoding, &reason);
    if (!layout->encoder) {
        *refusal = {StringId::PageEncodingUnusable, {{"@Encoding", notes.PageEncoding}, {"@Reason", reason}}};
        return false;
    }
    const PageEncoder& encoder = *layout->encoder;
    BookPlan& plan = layout->plan;
    plan.encoder = &encoder;
    plan.declaration = encodingDeclaration(encoder);
    if (settings.wholeFileMode())
        return true;
    layout->stem = pageStem(bookName, encoder);
    layout->volumeNotes = static_cast<std::size_t>(std::max(notes.VolumeNotes, 0));
    plan.links = notes.Links;
    plan.titles = notes.Titles;
    plan.contents = notes.Contents;
    plan.bookName = bookName;
    plan.texts = {language.text(StringId::PreviousLink), language.text(StringId::NextLink)};
    plan.contentsTitle = language.text(StringId::ContentsTitle);
    // Chapters are known only later; their titles are cut to this length.
    if (plan.titles)
        plan.chapters.push_back({std::string(kChapterTitleBytes, 'x'), 0});
    if (layout->volumeNotes > 0) {
        const std::string longest = volumeFolderName(bookName, 9999999, 9999999);
        plan.continuation = replaceAll(language.text(StringId::VolumeContinues), "@Volume", longest);
    }
    // The markup, the closing line end and the text together fit the page.
    const std::size_t longestName
        = encoder.encode(layout->stem, nullptr).size() + kLongestPageNumber + kNoteEnding.size();
    const std::size_t reserve = markupReserve(plan, longestName) + kLineEnd;
    if (layout->pageSize > 0 && static_cast<std::size_t>(layout->pageSize) <= reserve + kLeastPageText) {
        *refusal = {StringId::PageTooSmallForMarkup,
                    {{"@Size", std::to_string(layout->pageSize)}, {"@Reserve", std::to_string(reserve)}}};
        return false;
    }
    if (layout->pageSize > 0)
        layout->pageSize -= static_cast<int32_t>(reserve);
    plan.chapters.clear();
    plan.continuation.clear();
    return true;
}

bool finishNotesBook(NotesLayout layout, const CutPages& pages,
                     const std::function<std::string(const std::string&)>& continuedIn, FinishedBook* made,
                     std::string* error)
{
    *made = FinishedBook();
    layout.plan.folder = pages.folder;
    layout.plan.stopNow = pages.stopNow;
    const BookPlan& whole = layout.plan;
    bool done = true;
    if (pages.isWholeFiles) {
        std::string scratch;
        for (const std::string& name : pages.wholeFiles) {
            std::uintmax_t size = 0;
            std::error_code ec;
            if (whole.declaration.empty())
                size = std::filesystem::file_size(pathFromUtf8(whole.folder + name), ec);
            else if (!frameNoteFile(whole.folder + name, whole.declaration, "", scratch, &size, error))
                return false;
            if (size > static_cast<std::uintmax_t>(kReaderNoteBytes))
                made->cutNotes.push_back({name, size});
        }
        made->notes = pages.wholeFiles.size();
    } else if (layout.volumeNotes > 0 && pages.count > 0) {
        done = makeVolumes(layout, pages, continuedIn, made, error);
    } else {
        BookPlan plan = whole;
        plan.stem = layout.stem;
        plan.pageCount = pages.count;
        plan.chapters = pages.chapters;
        done = numberToOneWidth(plan, pages, error)
            && finishBook(plan, layout.contentsSize, &made->notes, &made->cutNotes, error);
    }
    // The book folder and each volume keep the record of what Leafmill wrote.
    made->notes += kRecordNotes * (1 + made->volumes);
    return done;
}

}  // namespace leafmill
