#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace leafmill::test {

// A fresh folder below the system's temporary folder, removed with everything
// in it when the object goes.
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
void writeFile(const std::filesystem::path& file, std::string_view bytes);

// The shared corpus of real documents (LEAFMILL_CORPUS, else the folder the
// build was configured with).
std::filesystem::path corpusDir();

// The shipped program files in the source tree (main.ini, language/,
// images/): what a fresh installation starts with, whatever a developer has
// since changed in a built program folder's main.ini.
std::filesystem::path assetsDir();

// Documents of every kind made for the tests from texts of our own (see the
// folder's make-fixtures.sh): letter.doc, letter.rtf, letter.html.
std::filesystem::path documentsDir();

}  // namespace leafmill::test
