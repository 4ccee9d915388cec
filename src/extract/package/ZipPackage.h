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
    struct Archive;

public:
    // `bytes` must outlive the package; `release` (may be empty) is told of
    // the bytes of each part once it is read, and of a streamed part's as it
    // is inflated (a part read again is read from the file). Throws PackageError when the
    // bytes are no zip archive.
    explicit ZipPackage(std::string_view bytes, std::function<void(std::string_view)> release = {});
    ~ZipPackage();
    ZipPackage(const ZipPackage&) = delete;
    ZipPackage& operator=(const ZipPackage&) = delete;

    static bool hasSignature(std::string_view bytes);

    bool contains(std::string_view name) const;

    // The names of the parts, in the order of the zip's directory.
    const std::vector<std::string>& names() const;

    // The least deep part whose name ends in `ending`, letter case ignored
    // (of several as deep, the first in the directory).
    std::optional<std::string> shallowestEndingIn(std::string_view ending) const;

    // The inflated part, or nothing when the package has no part of that name
    // (looked up exactly, then ignoring letter case). Throws PackageError when
    // the part is damaged or encrypted, or when it would overrun the budget.
    // The part is taken for XML: its tree counts too.
    std::optional<std::string> read(std::string_view name);

    // A part inflated in pieces as they are asked for, under the same budget
    // as read(); other parts may be read meanwhile. Throws as read() does.
    class Stream {
    public:
        ~Stream();
        Stream(const Stream&) = delete;
        Stream& operator=(const Stream&) = delete;
        // Up to `size` further bytes into `buffer`; 0 at the part's end.
        std::size_t read(char* buffer, std::size_t size);
        // What the directory says the part inflates to: a hint for progress.
        std::uint64_t statedSize() const { return statedSize_; }

    private:
        friend class ZipPackage;
        Stream(ZipPackage& package, std::string part);
        ZipPackage& package_;
        std::string part_;
        std::unique_ptr<Archive> archive_;
        std::uint64_t statedSize_ = 0;
        std::uint64_t size_ = 0, treeBytes_ = 0;
        std::uint64_t released_ = 0;  // the package's bytes given back up to here
        bool open_ = false;
    };
    // Nothing when the package has no part of that name.
    std::unique_ptr<Stream> stream(std::string_view name);

private:
    static std::unique_ptr<Archive> openArchive(std::string_view bytes);
    std::uint64_t openPart(Archive& archive, std::string_view name, const std::string& part);
    std::size_t inflate(Archive& archive, const std::string& part, char* buffer, std::size_t size,
                        std::uint64_t& partSize, std::uint64_t& partTreeBytes);
    static void closePart(Archive& archive, const std::string& part);

    std::string_view bytes_;
    std::unique_ptr<Archive> archive_;
    std::function<void(std::string_view)> release_;
    std::uint64_t limit_ = 0;
    std::uint64_t inflated_ = 0;
};

}  // namespace leafmill::extract::package
