#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace leafmill::extract::mobi {

// What the Kindle module (leafmill-kindle, libmobi behind it) offers the
// programs, which load it only when they first read a Kindle or Palm book:
// libmobi needs the shared libxml2, and that the shared ICU and libstdc++,
// whose loading would otherwise cost every process.
enum class PartKind { Html, Opf, Ncx, Other };

struct BookPart {
    PartKind kind;
    std::size_t uid;
    std::string_view bytes;  // held by the book until it is closed
};

struct UnpackedBook {
    void* handle = nullptr;  // for close
    bool mobipocket = false;  // else PalmDOC
    bool kf8 = false;  // XHTML parts, else the older HTML
    std::vector<BookPart> markup;
    std::vector<BookPart> resources;
};

enum class Unpacking { Done, NotABook, Encrypted, Replica, PromisesTooMuch, Damaged, OutOfMemory };

struct KindleModule {
    int version;
    // Unpacks the book in `bytes` into `book` unless the outcome says why not;
    // `bytes` must outlive it.
    Unpacking (*unpack)(std::string_view bytes, UnpackedBook& book);
    void (*close)(void* handle);
};

// Raised whenever the table or the types it passes change.
constexpr int kindleModuleVersion = 1;

}  // namespace leafmill::extract::mobi

// The one symbol the module exports: its KindleModule, untyped as every
// reader module's entry is (extract/common/ReaderModule.h).
extern "C" const void* leafmill_kindle_module();
