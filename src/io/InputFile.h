#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace leafmill {

// A file read block by block, with the system's reason when something fails.
class InputFile {
public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // False with the reason when nothing readable is at the path (a folder
    // counts as missing).
    bool open(const std::filesystem::path& path, std::string* error);

    // Fills `block` with up to its capacity; an empty block is the end of the
    // file. False with the reason when reading fails.
    bool read(std::string& block, std::size_t capacity, std::string* error);

private:
    std::FILE* file_ = nullptr;
};

}  // namespace leafmill
