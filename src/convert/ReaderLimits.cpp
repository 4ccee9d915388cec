#include "convert/ReaderLimits.h"

#include "io/FileAccess.h"

#include <algorithm>
#include <system_error>

namespace leafmill {

namespace {

// Regular files under the folder, those under `skip` left out.
int64_t notesIn(const std::filesystem::path& folder, const std::filesystem::path& skip)
{
    int64_t count = 0;
    std::error_code ec;
    std::filesystem::recursive_directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code kindError;
        if (it->path() == skip) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file(kindError))
            ++count;
    }
    return count;
}

}  // namespace

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

namespace {

bool isIPodVolume(const std::filesystem::path& volume)
{
    std::error_code ec;
    return std::filesystem::is_directory(volume / "iPod_Control", ec)
        && std::filesystem::is_directory(volume / "Notes", ec);
}

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

NotesForecast forecastNotes(const Settings& settings, const std::vector<std::string>& sources,
                            const std::string& outputFolder, const std::string& bookName)
{
    NotesForecast forecast;
    if (settings.CutTypeIndex < 0 || static_cast<std::size_t>(settings.CutTypeIndex) >= settings.CutTypeTable.size())
        return forecast;
    // Whole files make one note each; the run refuses a page size it cannot cut.
    const int64_t pageSize = settings.wholeFileMode() ? 0 : settings.activeCutType().SingleFileSize;
    for (const std::string& source : sources) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(pathFromUtf8(source), ec);
        const int64_t bytes = ec ? 0 : static_cast<int64_t>(size);
        forecast.notes += pageSize <= 0 ? 1 : std::max<int64_t>(1, (bytes + pageSize - 1) / pageSize);
    }
    if (settings.NotesReader.Contents && pageSize > 0)
        ++forecast.notes;
    const std::filesystem::path notes = iPodNotesFolder(pathFromUtf8(outputFolder));
    if (!notes.empty()) {
        const std::filesystem::path book
            = (std::filesystem::absolute(pathFromUtf8(outputFolder)) / pathFromUtf8(bookName)).lexically_normal();
        forecast.room = std::max<int64_t>(0, kReaderNoteLimit - notesIn(notes, book));
    }
    return forecast;
}

bool pagesOverReaderLimit(const Settings& settings)
{
    if (settings.CutTypeIndex < 0 || static_cast<std::size_t>(settings.CutTypeIndex) >= settings.CutTypeTable.size())
        return false;
    return settings.activeCutType().SingleFileSize > kReaderNoteBytes;
}

}  // namespace leafmill
