#pragma once

#include "io/OutputFile.h"

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace leafmill {

// The folder for temporary text files, ending with a separator: TEMP, else
// the platform's temporary folder.
std::string GetTempDir();

// <dir><year><month><day><tick count><kind word><number>.txt, the numbers in
// plain decimal.
std::string temporaryFileName(const std::string& dir, std::string_view kindWord, int32_t number);

// The text file an extractor's text is cut from. Created exclusively and only
// readable by the user; deleted when the object goes, whatever happened.
class TemporaryTextFile {
public:
    TemporaryTextFile() = default;
    ~TemporaryTextFile();
    TemporaryTextFile(const TemporaryTextFile&) = delete;
    TemporaryTextFile& operator=(const TemporaryTextFile&) = delete;

    // Creates the file in GetTempDir() with `bytes` in it; a name that is
    // taken is never reused, a new number is drawn instead.
    bool create(std::string_view kindWord, std::string_view bytes, std::string* error);

    // The same in steps, for bytes that come in pieces.
    bool open(std::string_view kindWord, std::string* error);
    bool append(std::string_view bytes, std::string* error);
    bool close(std::string* error);

    const std::string& path() const { return path_; }

private:
    std::string path_;
    OutputFile file_;
    std::mt19937 random_ {std::random_device {}()};
};

}  // namespace leafmill
