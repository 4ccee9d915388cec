#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace leafmill::extract {

// A reader whose library stays in a module of its own, loaded by the first
// process that reads such a document: linked into the programs, the library
// and those behind it would cost every start. The module exports one
// function, `extern "C" const void* entry()`, that returns its table of
// functions; the table begins with its version, which must be `version`, as
// module and programs come from one build.
struct ReaderModuleName {
    const char* file;  // "leafmill-pdf", without the system's ending
    const char* entry;  // the exported function
    const char* what;  // "PDF reader", for the reason when there is none
    int version;
};

struct LoadedReaderModule {
    const void* table = nullptr;  // the module's table, kept until the program ends
    std::string failure;  // why there is none, as a reason for the source
};

// The first of `places` that holds the named module of this build.
LoadedReaderModule loadReaderModule(const ReaderModuleName& name, const std::vector<std::filesystem::path>& places);

// Where the named module may be: beside the program, where an installation
// keeps it, and in the build's program folder.
std::vector<std::filesystem::path> readerModulePlaces(const ReaderModuleName& name);

}  // namespace leafmill::extract

// Marks a module's entry as the one function it exports.
#ifdef _WIN32
#define LEAFMILL_MODULE_EXPORT __declspec(dllexport)
#else
#define LEAFMILL_MODULE_EXPORT __attribute__((visibility("default")))
#endif
