#include "io/RunFiles.h"

#include "io/BookFolder.h"
#include "io/FileAccess.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace leafmill {

RunFiles::RunFiles(const std::vector<std::string>& sources, const BookFolder& book, std::string stagingFolder,
                   std::string bookFolder)
    : book_(book)
    , staging_(std::move(stagingFolder))
    , folder_(std::move(bookFolder))
{
    for (const std::string& source : sources)
        if (const auto identity = identityOf(pathFromUtf8(source)))
            sources_.emplace_back(*identity, source);
}

std::string RunFiles::placeOf(const std::string& page) const
{
    return page.starts_with(staging_) ? folder_ + page.substr(staging_.size()) : page;
}

const std::string* RunFiles::sourceAt(const std::string& path) const
{
    const auto identity = identityOf(pathFromUtf8(path));
    if (!identity)
        return nullptr;
    const auto hit
        = std::find_if(sources_.begin(), sources_.end(), [&](const auto& source) { return source.first == *identity; });
    return hit == sources_.end() ? nullptr : &hit->second;
}

std::string RunFiles::sourceRefusal(const std::string& place) const
{
    const std::string* source = sourceAt(place);
    return source ? place + ": it is the source " + *source + ", which is never overwritten" : std::string();
}

std::string RunFiles::refusal(const std::string& page) const
{
    const std::string place = placeOf(page);
    // The book folder's listing settles most places: those free when the run
    // began, and the earlier book's pages, which only a source there must
    // keep. A place taken meanwhile stops the book at its end.
    if (place.starts_with(folder_)) {
        const std::string name = place.substr(folder_.size());
        const auto listed = book_.atOpen(name);
        if (listed == std::filesystem::file_type::not_found)
            return {};
        if (listed == std::filesystem::file_type::regular && book_.blockedBy(name, *listed).empty())
            return sourceRefusal(place);
    }
    std::error_code ec;
    const auto present = std::filesystem::symlink_status(pathFromUtf8(place), ec).type();
    if (ec || present == std::filesystem::file_type::not_found)
        return {};
    if (std::string refused = sourceRefusal(place); !refused.empty())
        return refused;
    return book_.blockedBy(place.substr(folder_.size()), present);
}

void RunFiles::wrote(const std::string& page)
{
    pageNames_.insert(page);
    if (const auto identity = identityOf(pathFromUtf8(page)))
        pages_.push_back(*identity);
}

bool RunFiles::written(const std::string& page) const
{
    if (pageNames_.contains(page))
        return true;
    const auto identity = identityOf(pathFromUtf8(page));
    return identity && std::find(pages_.begin(), pages_.end(), *identity) != pages_.end();
}

std::string RunFiles::freeStem(const std::string& folder, const std::string& stem) const
{
    std::string candidate = stem;
    for (int copy = 2; written(folder + candidate + ".txt"); ++copy)
        candidate = stem + " (" + std::to_string(copy) + ")";
    return candidate;
}

}  // namespace leafmill
