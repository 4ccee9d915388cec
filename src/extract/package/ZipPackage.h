#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill::extract::package {

// A zip package read from memory: parts are looked up by name and inflated
// into memory, never written anywhere. The memory reading the package takes
// has a budget (256 MB and 10 times the package's size): every part read
// counts against it, and a part may not inflate to more than the budget
// together with the XML tree it is parsed into, so that a part that inflates
// far beyond its package, or into millions of tiny elements, is refused
// instead of filling the memory.
class ZipPackage {
public:
    // `bytes` must outlive the package; `release` (may be empty) is told of
    // the bytes of each part once it is read. Throws PackageError when the
    // bytes are no zip archive.
    explicit ZipPackage(std::string_view bytes, std::function<void(std::string_view)> release = {});
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    static bool hasSignature(std::string_view bytes);

    bool contains(std::string_view name) const;

    // The names of the parts, in the order of the zip's directory.
    const std::vector<std::string>& names() const;

    // The inflated part, or nothing when the package has no part of that name
    // (looked up exactly, then ignoring letter case). Throws PackageError when
    // the part is damaged or encrypted, or when it would overrun the budget.
    // The part is taken for XML: its tree counts too.
    std::optional<std::string> read(std::string_view name);

private:
    struct Archive;
    std::unique_ptr<Archive> archive_;
    std::function<void(std::string_view)> release_;
    std::uint64_t limit_ = 0;
    std::uint64_t inflated_ = 0;
};

}  // namespace leafmill::extract::package
