#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace leafmill {

// Paths held as UTF-8 text (INI values, messages) and back.
std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string pathToUtf8(const std::filesystem::path& path);

// The system's words for an error number.
std::string systemReason(int errorNumber);

enum class ReadResult { Ok, Missing, Failed };

// Reads the whole file into `bytes`. Missing and Failed come with the reason
// (no path: the caller says which file it was). Only a regular file is read:
// a folder, a pipe or a device is refused.
ReadResult readWholeFile(const std::filesystem::path& file, std::string& bytes, std::string* reason);

// Writes `bytes` to a new file beside `target` and renames it over the target,
// so a reader sees the old file or the new one, never half of either. The new
// file keeps the old one's permissions. False with the reason (path included).
bool replaceFile(const std::filesystem::path& target, std::string_view bytes, std::string* error);

// Renames `from` to `to` where nothing has that name yet; an entry that is
// there (even an empty folder) is never replaced. False with the reason.
bool renameToFreeName(const std::filesystem::path& from, const std::filesystem::path& to, std::string* error);

// The rename of replaceFile ignores the target's own permissions, so a file
// the user made read-only is refused here first. False with the reason.
bool mayReplace(const std::filesystem::path& target, std::string* error);

}  // namespace leafmill
