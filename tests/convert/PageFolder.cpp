#include "PageFolder.h"

#include "TestSupport.h"

#include <algorithm>

namespace leafmill::test {

std::vector<PageFile> pagesIn(const std::filesystem::path& folder, std::string_view stem)
{
    std::vector<PageFile> pages;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.size() < stem.size() + 4 || name.compare(0, stem.size(), stem) != 0
            || name.compare(name.size() - 4, 4, ".txt") != 0)
            continue;
        const std::string digits = name.substr(stem.size(), name.size() - stem.size() - 4);
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            continue;
        pages.push_back({ name, digits.empty() ? -1 : std::stol(digits), readFile(entry.path()) });
    }
    std::sort(pages.begin(), pages.end(), [](const PageFile& a, const PageFile& b) { return a.number < b.number; });
    return pages;
}

void writeLanguageFile(const std::filesystem::path& file)
{
    writeFile(file,
        "[Info]\r\nSoftName=Leafmill\r\nMaxLngNum=40\r\nLanguage=Test\r\n[Strings]\r\n"
        "00010=empty name\r\n00011=bad name\r\n00012=empty list\r\n00013=Converting \r\n"
        "00014=Book @BookName is done; @BookName, not @bookname.\r\n00031=Stop?\r\n00032=Stopped.\r\n"
        "00033=No pages from:\r\n00034=unsupported\r\n00035=missing\r\n00036=not converted: @Reason\r\n"
        "00037=not written: @Reason\r\n00038=no folder @Folder: @Reason\r\n");
}

} // namespace leafmill::test
