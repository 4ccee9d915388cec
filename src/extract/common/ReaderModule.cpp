#include "extract/common/ReaderModule.h"

#include "io/ProgramFolder.h"

#include <algorithm>

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace leafmill::extract {

namespace {

#ifdef _WIN32
constexpr const char* moduleEnding = ".dll";
#else
constexpr const char* moduleEnding = ".so";
#endif

using Entry = const void* (*)();

// The module's entry, or null with `failure` set.
Entry entryOf(const std::filesystem::path& place, const ReaderModuleName& name, std::string& failure)
{
#ifdef _WIN32
    const HMODULE handle = LoadLibraryW(place.c_str());
    if (handle == nullptr) {
        failure = place.string() + ": Windows error " + std::to_string(GetLastError());
        return nullptr;
    }
    const auto entry = reinterpret_cast<Entry>(GetProcAddress(handle, name.entry));
#else
    void* handle = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = dlerror();
        failure = error != nullptr ? error : place.string();
        return nullptr;
    }
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, name.entry));
#endif
    if (entry == nullptr)
        failure = place.string() + " is not a Leafmill " + name.what + " module";
    return entry;
}

}  // namespace

LoadedReaderModule loadReaderModule(const ReaderModuleName& name, const std::vector<std::filesystem::path>& places)
{
    LoadedReaderModule loaded;
    std::string failure;
    for (const std::filesystem::path& place : places) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(place, error))
            continue;
        const Entry entry = entryOf(place, name, failure);
        if (entry == nullptr)
            continue;
        // Every table begins with its version.
        const void* table = entry();
        if (table != nullptr && *static_cast<const int*>(table) == name.version) {
            loaded.table = table;
            return loaded;
        }
        failure = place.string() + " is from another version of Leafmill";
    }
    if (failure.empty()) {
        failure = std::string(name.file) + moduleEnding + " is in none of the folders";
        for (std::size_t i = 0; i < places.size(); ++i)
            failure += (i == 0 ? " " : ", ") + places[i].parent_path().string();
    }
    loaded.failure = std::string("the ") + name.what + " module could not be loaded: " + failure;
    return loaded;
}

std::vector<std::filesystem::path> readerModulePlaces(const ReaderModuleName& name)
{
    const std::string file = std::string(name.file) + moduleEnding;
    const std::filesystem::path folder = leafmill::programFolder();
    std::vector<std::filesystem::path> places;
    for (const std::filesystem::path& place : {folder / file, folder / LEAFMILL_READER_MODULES_FROM_PROGRAM / file,
                                               std::filesystem::path(LEAFMILL_BUILD_PROGRAM_DIR) / file})
        if (std::find(places.begin(), places.end(), place.lexically_normal()) == places.end())
            places.push_back(place.lexically_normal());
    return places;
}

}  // namespace leafmill::extract
