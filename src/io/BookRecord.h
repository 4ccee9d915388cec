#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace leafmill {

// The note Leafmill keeps in every book folder it writes: the names of the
// files it wrote there, so that a later run replaces or removes those and
// nothing else. Its name starts with a dot, which keeps it out of the
// reader's menu as the system's own hidden files are.
inline constexpr std::string_view kBookRecordName = ".leafmill.txt";

// The names in the folder's record (a folder's ending with '/': a volume,
// which keeps a record of its own); nothing when the folder holds no record,
// and no names at all when the file of that name is not one of ours. A name
// that could lead out of the folder is left out.
struct BookRecord {
    bool ours = true;  // false: a file Leafmill did not write has the record's name
    std::vector<std::string> names;
};
BookRecord readBookRecord(const std::filesystem::path& folder);

// Writes the folder's record (replacing it whole). False with the reason.
bool writeBookRecord(const std::filesystem::path& folder, const std::vector<std::string>& names, std::string* error);

}  // namespace leafmill
