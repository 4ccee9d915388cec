#pragma once

#include "TestSupport.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::test {

// A page file read back from a book folder.
struct PageFile {
    std::string name;
    long number = -1;  // -1 for an unnumbered (whole-file) page
    std::string bytes;
};

// Every page of `stem` in the folder, in page-number order.
inline std::vector<PageFile> pagesIn(const std::filesystem::path& folder, std::string_view stem)
{
    std::vector<PageFile> pages;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < stem.size() + 4 || !name.starts_with(stem) || !name.ends_with(".txt"))
            continue;
        const std::string digits = name.substr(stem.size(), name.size() - stem.size() - 4);
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        pages.push_back({name, digits.empty() ? -1 : std::stol(digits), readFile(entry.path())});
    }
    std::sort(pages.begin(), pages.end(), [](const PageFile& a, const PageFile& b) { return a.number < b.number; });
    return pages;
}

}  // namespace leafmill::test
