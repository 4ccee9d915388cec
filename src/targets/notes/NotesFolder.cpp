#include "targets/notes/NotesFolder.h"

#include "io/FileAccess.h"
#include "text/AsciiCase.h"

#include <algorithm>
#include <system_error>

namespace leafmill {

namespace {

void collect(const std::filesystem::path& folder, const std::filesystem::path& skip,
             std::vector<std::filesystem::path>& notes)
{
    struct Entry {
        std::string name;
        std::filesystem::path path;
        bool folder;
    };
    std::vector<Entry> entries;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
        std::error_code kindError;
        if (!skip.empty() && entry.path() == skip)
            continue;
        const bool isFolder = entry.is_directory(kindError) && !entry.is_symlink(kindError);
        if (isFolder || entry.is_regular_file(kindError))
            entries.push_back({pathToUtf8(entry.path().filename()), entry.path(), isFolder});
    }
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return readerNameLess(a.name, b.name); });
    for (const Entry& entry : entries) {
        if (entry.folder)
            collect(entry.path, skip, notes);
        else
            notes.push_back(entry.path);
    }
}

}  // namespace

bool readerNameLess(std::string_view a, std::string_view b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto x = static_cast<unsigned char>(asciiLower(a[i]));
        const auto y = static_cast<unsigned char>(asciiLower(b[i]));
        if (x != y)
            return x < y;
    }
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

std::vector<std::filesystem::path> notesInLoadOrder(const std::filesystem::path& folder,
                                                    const std::filesystem::path& skip)
{
    std::vector<std::filesystem::path> notes;
    collect(folder, skip.empty() ? skip : skip.lexically_normal(), notes);
    return notes;
}

}  // namespace leafmill
