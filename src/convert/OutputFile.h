#pragma once

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

}  // namespace leafmill
