#include "convert/RunFiles.h"

#include "io/FileAccess.h"

#include <algorithm>
#include <system_error>

namespace leafmill {

namespace {

bool isPageName(const std::string& name, const std::string& stem)
{
    constexpr std::string_view kEnding = ".txt";
    if (name.size() <= stem.size() + kEnding.size() || !name.starts_with(stem) || !name.ends_with(kEnding))
        return false;
    const auto first = name.begin() + static_cast<std::ptrdiff_t>(stem.size());
    const auto last = name.end() - static_cast<std::ptrdiff_t>(kEnding.size());
    return std::all_of(first, last, [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

RunFiles::RunFiles(const std::vector<std::string>& sources)
{
    for (const std::string& source : sources)
        if (const auto identity = identityOf(pathFromUtf8(source)))
            sources_.emplace_back(*identity, source);
}

const std::string* RunFiles::sourceAt(const std::string& page) const
{
    const auto identity = identityOf(pathFromUtf8(page));
    if (!identity)
        return nullptr;
    const auto hit
        = std::find_if(sources_.begin(), sources_.end(), [&](const auto& source) { return source.first == *identity; });
    return hit == sources_.end() ? nullptr : &hit->second;
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

int RunFiles::removeOldPages(const std::string& folder, const std::string& stem) const
{
    int removed = 0;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(pathFromUtf8(folder), ec)) {
        const std::string name = pathToUtf8(entry.path().filename());
        const std::string page = folder + name;
        std::error_code kindError;
        if (!isPageName(name, stem) || !entry.is_regular_file(kindError) || entry.is_symlink(kindError) || written(page)
            || sourceAt(page))
            continue;
        if (std::filesystem::remove(entry.path(), kindError))
            ++removed;
    }
    return removed;
}

}  // namespace leafmill
