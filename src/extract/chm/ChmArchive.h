#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct chmFile;

namespace leafmill::extract::chm {

// A compiled help book (.chm) read from memory. The library behind it opens
// books by name only: on Linux the bytes become an anonymous file in memory,
// elsewhere a private temporary file that is removed again when the archive
// closes. Every object read counts against a budget (256 MB and 10 times the
// book's size), so that a book whose pages inflate far beyond it is refused
// instead of filling the memory. Throws PackageError when the bytes are no
// help book.
class ChmArchive {
public:
    explicit ChmArchive(std::string_view bytes);
    ~ChmArchive();
    ChmArchive(const ChmArchive&) = delete;
    ChmArchive& operator=(const ChmArchive&) = delete;

    // The paths of the book's files in the archive's order ("/intro.htm").
    const std::vector<std::string>& files() const { return files_; }
    // An object by its path, any letter case; nothing when the book lacks it
    // or it is damaged. Throws PackageError when it would overrun the budget.
    std::optional<std::string> read(std::string_view path);
    // The locale and the contents' and index's paths the #SYSTEM file names.
    std::uint32_t locale() const { return locale_; }
    const std::string& contents() const { return contents_; }
    const std::string& index() const { return index_; }

private:
    void readSystem();

    class Copy;
    std::unique_ptr<Copy> copy_;
    chmFile* chm_ = nullptr;
    std::vector<std::string> files_;
    std::uint64_t budget_ = 0;
    std::uint32_t locale_ = 0;
    std::string contents_, index_;
};

}  // namespace leafmill::extract::chm
