#include "extract/pdf/PdfModuleLoader.h"

#include "io/ProgramFolder.h"

#include <algorithm>
#include <mutex>

#ifdef _WIN32
#define NOMINMAX
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace leafmill::extract::pdf {

namespace {

#ifdef _WIN32
constexpr const char* moduleName = "leafmill-pdf.dll";
#else
constexpr const char* moduleName = "leafmill-pdf.so";
#endif

using Entry = const PdfModule* (*)();

// The module's entry, or null with `failure` set.
Entry entryOf(const std::filesystem::path& place, std::string& failure)
{
#ifdef _WIN32
    const HMODULE handle = LoadLibraryW(place.c_str());
    if (handle == nullptr) {
        failure = place.string() + ": Windows error " + std::to_string(GetLastError());
        return nullptr;
    }
    const auto entry = reinterpret_cast<Entry>(GetProcAddress(handle, "leafmill_pdf_module"));
#else
    void* handle = dlopen(place.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* error = dlerror();
        failure = error != nullptr ? error : place.string();
        return nullptr;
    }
    const auto entry = reinterpret_cast<Entry>(dlsym(handle, "leafmill_pdf_module"));
#endif
    if (entry == nullptr)
        failure = place.string() + " is not a Leafmill PDF module";
    return entry;
}

}  // namespace

LoadedPdfModule loadPdfModule(const std::vector<std::filesystem::path>& places)
{
    LoadedPdfModule loaded;
    std::string failure;
    for (const std::filesystem::path& place : places) {
        std::error_code error;
        if (!std::filesystem::is_regular_file(place, error))
            continue;
        const Entry entry = entryOf(place, failure);
        if (entry == nullptr)
            continue;
        const PdfModule* module = entry();
        if (module != nullptr && module->version == pdfModuleVersion) {
            loaded.module = module;
            return loaded;
        }
        failure = place.string() + " is from another version of Leafmill";
    }
    if (failure.empty()) {
        failure = std::string(moduleName) + " is in none of the folders";
        for (std::size_t i = 0; i < places.size(); ++i)
            failure += (i == 0 ? " " : ", ") + places[i].parent_path().string();
    }
    loaded.failure = "the PDF reader module could not be loaded: " + failure;
    return loaded;
}

const LoadedPdfModule& pdfModule()
{
    static std::once_flag once;
    static LoadedPdfModule loaded;
    std::call_once(once, [] {
        const std::filesystem::path folder = leafmill::programFolder();
        std::vector<std::filesystem::path> places;
        for (const std::filesystem::path& place :
             {folder / moduleName, folder / LEAFMILL_PDF_MODULE_FROM_PROGRAM / moduleName,
              std::filesystem::path(LEAFMILL_BUILD_PROGRAM_DIR) / moduleName})
            if (std::find(places.begin(), places.end(), place.lexically_normal()) == places.end())
                places.push_back(place.lexically_normal());
        loaded = loadPdfModule(places);
    });
    return loaded;
}

}  // namespace leafmill::extract::pdf
