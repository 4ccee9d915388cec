#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::test {

// A page file read back from a book folder.
struct PageFile {
    std::string name;
    long number = -1; // -1 for an unnumbered (whole-file) page
    std::string bytes;
};

// Every page of `stem` in the folder, in page-number order.
std::vector<PageFile> pagesIn(const std::filesystem::path& folder, std::string_view stem);

// A language file with the strings the run shows, markers kept visible.
void writeLanguageFile(const std::filesystem::path& file);

} // namespace leafmill::test
