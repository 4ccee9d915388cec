#include "targets/notes/ReaderLimits.h"

#include "convert/ConfinedReading.h"
#include "convert/EndMessage.h"
#include "extract/Formats.h"
#include "io/FileAccess.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "targets/notes/NotesBook.h"
#include "targets/notes/NotesFolder.h"
#include "text/CodePage.h"
#include "text/PageEncoder.h"

#include <algorithm>
#include <system_error>

namespace leafmill {

std::filesystem::path iPodNotesFolder(const std::filesystem::path& folder)
{
    std::error_code ec;
    for (std::filesystem::path at = std::filesystem::absolute(folder, ec).lexically_normal(); !ec && !at.empty();
         at = at.parent_path()) {
        const std::filesystem::path volume = at.parent_path();
        if (at.filename() == "Notes" && std::filesystem::is_directory(volume / "iPod_Control", ec))
            return at;
        if (volume == at)
            break;
    }
    return {};
}

bool isIPodVolume(const std::filesystem::path& volume)
{
    std::error_code ec;
    return std::filesystem::is_directory(volume / "iPod_Control", ec)
        && std::filesystem::is_directory(volume / "Notes", ec);
}

namespace {

void findIPods(const std::filesystem::path& folder, int depth, std::vector<IPodNotes>& found)
{
    if (isIPodVolume(folder)) {
        std::error_code ec;
        const std::filesystem::space_info space = std::filesystem::space(folder, ec);
        found.push_back({folder / "Notes", ec ? 0 : space.available});
        return;
    }
    if (depth == 0)
        return;
    std::error_code ec;
    std::vector<std::filesystem::path> children;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        std::error_code kindError;
        if (entry.is_directory(kindError) && !entry.is_symlink(kindError))
            children.push_back(entry.path());
    }
    std::sort(children.begin(), children.end());
    for (const std::filesystem::path& child : children)
        findIPods(child, depth - 1, found);
}

}  // namespace

std::vector<std::filesystem::path> mountPlaces()
{
#ifdef _WIN32
    std::vector<std::filesystem::path> drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        drives.push_back(std::string(1, letter) + ":\\");
    return drives;
#else
    return {"/media", "/run/media", "/mnt", "/Volumes"};
#endif
}

std::vector<IPodNotes> connectedIPods(const std::vector<std::filesystem::path>& places, int depth)
{
    std::vector<IPodNotes> found;
    for (const std::filesystem::path& place : places)
        findIPods(place, depth, found);
    return found;
}

namespace {

// Documents up to this size are read once more for the forecast; a PDF never is.
constexpr std::uintmax_t kReadAheadBytes = 16 << 20;

// The bytes of page text the source gives, as near as is cheap to tell. The
// document is read apart, under the run's limits, like every reading of it:
// a hostile one costs the forecast nothing but its refusal.
int64_t pageTextBytes(const std::string& source, const CodePage& codePage, const PageEncoder* encoder,
                      std::string_view sourceEncoding)
{
    std::error_code ec;
    const auto size = std::filesystem::file_size(pathFromUtf8(source), ec);
    if (ec)
        return 0;
    const SourceKind* kind = findSourceKind(source, defaultDispatchTable());
    if (!kind || !kind->extractor || kind->kindWord == "pdf" || size > kReadAheadBytes)
        return static_cast<int64_t>(size);
    InputFile file;
    if (openSource(source, defaultDispatchTable(), file).failure != SourceFailure::None)
        return 0;
    int64_t bytes = 0;
    SourceSink sink;
    sink.begin = [](std::string_view) {};
    sink.bytes = [&bytes](std::string_view piece) { bytes += static_cast<int64_t>(piece.size()); };
    PageTextRules pageText;
    pageText.encoder = encoder;
    bool stopped = false;
    const PreparedSource read = readSourceConfined(source, file, defaultDispatchTable(), codePage, pageText,
                                                   sourceEncoding, sink, SourceLimits {}, nullptr, &stopped);
    return read.failure == SourceFailure::None ? bytes : 0;
}

}  // namespace

NotesForecast forecastNotes(const Settings& settings, const CodePage& codePage, const LanguageTable& language,
                            const std::vector<std::string>& sources, const std::string& outputFolder,
                            const std::string& bookName)
{
    NotesForecast forecast;
    if (settings.CutTypeIndex < 0 || static_cast<std::size_t>(settings.CutTypeIndex) >= settings.CutTypeTable.size())
        return forecast;
    NotesLayout layout;
    Refusal refusal;
    // A layout the run refuses makes no notes; the run says why.
    if (!planNotesBook(settings, codePage, language, bookName, &layout, &refusal))
        return forecast;
    // A page ends at a cut word in the window before its end: half the window short, on the whole.
    const int64_t window = std::clamp<int64_t>(settings.activeCutType().InOutFileSize, 0, layout.pageSize / 2);
    const int64_t pageText = layout.pageSize - window / 2;
    for (const std::string& source : sources) {
        const int64_t bytes = layout.pageSize > 0
            ? pageTextBytes(source, codePage, layout.encoder.get(), settings.NotesReader.SourceEncoding)
            : 0;
        forecast.notes += layout.pageSize <= 0 ? 1 : std::max<int64_t>(1, (bytes + pageText - 1) / pageText);
    }
    if (settings.NotesReader.Contents && layout.pageSize > 0)
        ++forecast.notes;
    ++forecast.notes;  // the record of the files the run writes
    const std::filesystem::path notes = iPodNotesFolder(pathFromUtf8(outputFolder));
    if (!notes.empty()) {
        const std::filesystem::path book
            = (std::filesystem::absolute(pathFromUtf8(outputFolder)) / pathFromUtf8(bookName)).lexically_normal();
        forecast.room
            = std::max<int64_t>(0, kReaderNoteLimit - static_cast<int64_t>(notesInLoadOrder(notes, book).size()));
    }
    return forecast;
}

int64_t notesToLoad(const std::string& outputFolder, int64_t bookNotes)
{
    const std::filesystem::path notes = iPodNotesFolder(pathFromUtf8(outputFolder));
    return notes.empty() ? bookNotes : static_cast<int64_t>(notesInLoadOrder(notes).size());
}

bool pagesOverReaderLimit(const Settings& settings)
{
    if (settings.CutTypeIndex < 0 || static_cast<std::size_t>(settings.CutTypeIndex) >= settings.CutTypeTable.size())
        return false;
    return settings.pageSize() > kReaderNoteBytes;
}

std::string pageSizeWarning(const Settings& settings, const LanguageTable& language)
{
    if (settings.wholeFileMode())
        return language.text(StringId::WholeFileNotes);
    if (pagesOverReaderLimit(settings))
        return replaceAll(language.text(StringId::PageOverReaderLimit), "@Size", std::to_string(settings.pageSize()));
    return {};
}

}  // namespace leafmill
