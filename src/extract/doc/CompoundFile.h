#pragma once

#include "extract/doc/StreamView.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::doc {

// A read-only view of an OLE compound file (the container of Word 97-2003
// documents): header, FAT with its DIFAT, mini FAT and mini stream, and the
// directory. Every sector number, chain and size is checked against the file;
// a damaged file raises DocFormatError("compound file is damaged: ...").
// The object keeps a view of `file`, which must outlive it.
class CompoundFile {
public:
    static bool hasSignature(std::string_view file);

    explicit CompoundFile(std::string_view file);

    // The bytes of a stream of the root storage, or nothing when there is none;
    // names compare without regard to ASCII case, as some writers store them
    // lower-case.
    // With `unreadBytes`, a stream whose sector chain breaks (out of range, a
    // loop, past the end of a cut file) gives the bytes up to the break, and
    // the number of bytes lost is stored there; without it the break raises
    // DocFormatError.
    std::optional<StreamView> streamView(std::string_view name, std::uint64_t* unreadBytes = nullptr) const;
    // The same stream's bytes copied.
    std::optional<std::string> stream(std::string_view name, std::uint64_t* unreadBytes = nullptr) const;

private:
    struct Entry {
        std::u16string name;
        std::uint8_t type = 0;
        std::uint32_t left = 0, right = 0, child = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
    };

    void readHeader();
    void readFat();
    void readDirectory();
    void collectRootChildren();
    const Entry* findRootEntry(std::string_view name) const;

    std::string_view sector(std::uint32_t number) const;
    // With `broken`, a bad link ends the chain and sets it instead of raising.
    std::vector<std::uint32_t> chain(std::uint32_t start, std::uint64_t maxLength, bool mini,
                                     bool* broken = nullptr) const;
    StreamView readFromFat(std::uint32_t start, std::uint64_t size, std::uint64_t* unreadBytes = nullptr) const;
    StreamView readFromMiniStream(std::uint32_t start, std::uint64_t size, std::uint64_t* unreadBytes) const;
    void checkGathered(const StreamView& view, std::uint64_t size, std::uint64_t* unreadBytes, bool mini) const;

    std::string_view file_;
    unsigned sectorShift_ = 9;
    std::uint32_t sectorSize_ = 512;
    std::uint32_t sectorCount_ = 0;  // whole or partial sectors after the header
    std::uint32_t fatSectors_ = 0, firstDirSector_ = 0, firstMiniFatSector_ = 0, miniFatSectors_ = 0;
    std::uint32_t firstDifatSector_ = 0, difatSectors_ = 0;
    std::vector<std::uint32_t> fat_, miniFat_;
    std::vector<Entry> entries_;
    std::vector<std::uint32_t> rootChildren_;
    StreamView miniStream_;
};

}  // namespace leafmill::extract::doc
