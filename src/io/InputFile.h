#pragma once

#include "io/FileIdentity.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace leafmill {

// What an open file is and was: its identity, its size and its last change,
// to tell whether it changed while it was read.
struct FileState {
    FileIdentity identity;
    std::uint64_t size = 0;
    std::int64_t changed = 0;

    bool operator==(const FileState&) const = default;
};

// A file opened once and read block by block, by one reader after another:
// each starts where it chooses, so none moves another's place, not even a
// reader in a child process sharing the descriptor. The system's reason when
// something fails.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // False with the reason when nothing readable is at the path (and
    // `*missing` true when nothing is there at all); a folder, a pipe or a
    // device is refused without being read.
    bool open(const std::filesystem::path& path, std::string* error, bool* missing = nullptr);

    // Fills `block` with up to its capacity from where the last read ended; an
    // empty block is the end of the file. False with the reason when reading
    // fails.
    bool read(std::string& block, std::size_t capacity, std::string* error);
    // The next read starts at the beginning again.
    void rewind() { offset_ = 0; }
    // All of the file's bytes, from its beginning.
    bool readAll(std::string& bytes, std::string* error);

    // The open file's state now, whatever name it has meanwhile; nothing
    // known (all zeros) when the system cannot tell.
    FileState state() const;
    // The system's descriptor, for mapping the file.
    int descriptor() const { return fd_; }

private:
    // Reads into `data` until `capacity` bytes or the end of the file;
    // `*filled` says how many came, false with the reason when reading fails.
    bool fill(char* data, std::size_t capacity, std::size_t* filled, std::string* error);

    int fd_ = -1;
    std::uint64_t offset_ = 0;
};

}  // namespace leafmill
