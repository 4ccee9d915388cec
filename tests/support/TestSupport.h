#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace leafmill::test {

// A fresh temporary folder, removed with its contents when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string readFile(const std::filesystem::path& file);
std::string repeated(std::string_view unit, int times);
void writeFile(const std::filesystem::path& file, std::string_view bytes);

// The shared corpus of real documents (LEAFMILL_CORPUS, else the configured folder).
std::filesystem::path corpusDir();

// The shipped program files in the source tree (main.ini, language/, images/), as installed fresh.
std::filesystem::path assetsDir();

// Documents of every kind made from our own texts by the folder's make-fixtures.sh.
std::filesystem::path documentsDir();

// Documents that once crashed, hung or filled the memory (make-hostile.py).
std::filesystem::path hostileDir();

}  // namespace leafmill::test
