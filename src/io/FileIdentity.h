#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace leafmill {

// Which file a path leads to, whatever name, link or letter case reached it.
struct FileIdentity {
    uint64_t device = 0;
    uint64_t file = 0;

    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at the path, following links as opening it would;
// nothing when there is no file there.
std::optional<FileIdentity> identityOf(const std::filesystem::path& path);

}  // namespace leafmill
