#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace leafmill {

// A file being written, with the system's reason when something fails.
// Closed by close() or, without a report, on destruction.
class OutputFile {
public:
    enum class Mode {
        Fresh,  // create a new file; never over a file, never through a link
        Exclusive,  // the same, only readable by the user
    };

    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // False with the reason when the file cannot be created; *alreadyExists
    // tells an exclusive creation that met an existing name.
    bool open(const std::filesystem::path& path, Mode mode, std::string* error, bool* alreadyExists = nullptr);
    bool write(std::string_view bytes, std::string* error);
    bool close(std::string* error);

    bool isOpen() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// Puts `head` before the bytes of the existing file at `path` and `tail` after
// them, in place: one open, the reads, one write. A failed write puts the old
// bytes back, so the file is whole either way. `scratch` is reused between
// calls; `size` is the file's new size. False with the reason.
bool frameFileInPlace(const std::filesystem::path& path, std::string_view head, std::string_view tail,
                      std::string& scratch, std::uintmax_t* size, std::string* error);

}  // namespace leafmill
