#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace leafmill {

class CodePage;

// One key to write: its section, its name and its value.
struct IniKey {
    std::string section;
    std::string key;
    std::string value;
};

// Reads and writes one INI file in the Windows private-profile layout.
//
// Section and key names match without regard to case; values come back
// trimmed, without one pair of enclosing matching quotes, and at most 1,023
// bytes long. A missing file, section or key reads as the empty text. Lines a
// write does not touch, comments among them, stay byte for byte.
//
// Texts in and out are UTF-8. The file is in the program's code page, except a
// file that begins with the UTF-8 byte-order mark, which is UTF-8 whatever the
// code page. Without a code page the bytes pass unchanged (enough to read an
// ASCII key before the code page is known).
//
// There is no cache: every call reads the file, and every write replaces it
// atomically, so a value written is visible at once to any other object bound
// to the same file, and a failed write leaves the old file as it was. A value
// the code page cannot hold turns the whole file into UTF-8 with the mark
// rather than be written as '?'. A file without write permission is not
// replaced.
class classIniFile {
    class Image;

public:
    // The file as one read found it, for reading many keys at the cost of one:
    // each value is the one GetIniKey gave at the time of the read.
    class Snapshot {
    public:
        std::string GetIniKey(std::string_view section, std::string_view key) const;

    private:
        friend class classIniFile;
        std::shared_ptr<const Image> image_;
    };

    explicit classIniFile(std::shared_ptr<const CodePage> codePage = {});

    void INIFileName(const std::filesystem::path& file) { file_ = file; }
    const std::filesystem::path& INIFileName() const { return file_; }

    // The value of the key, or the empty text.
    std::string GetIniKey(std::string_view section, std::string_view key) const;

    // Reads and parses the file once; a missing or unreadable file reads as empty.
    Snapshot snapshot() const;

    // Creates or replaces the key's line, creating the section and the file
    // when missing. A value is cut at its first CR, LF or NUL.
    bool WriteIniKey(std::string_view section, std::string_view key, std::string_view value);

    // Writes several keys, of one section or more, in the given order with a
    // single replacement of the file: either all of them reach it or none.
    bool WriteIniKeys(const std::vector<IniKey>& keys);

    // Removes every line of the key in every section of that name.
    bool DelIniKey(std::string_view section, std::string_view key);

    // Removes every section of that name with all its lines.
    bool DelIniSec(std::string_view section);

    // Why the last writer failed; empty after a success.
    const std::string& lastError() const { return lastError_; }

    // Joins folder and file name with exactly one separator ('\\' on Windows,
    // '/' elsewhere), whatever separators they already carry at the joint.
    static std::string BuildIniPath(std::string_view folder, std::string_view fileName);

    // Binds the object to BuildIniPath(folder, fileName); both are UTF-8.
    void SetIniPath(std::string_view folder, std::string_view fileName);

private:
    bool edit(const std::function<void(Image&)>& change);

    std::shared_ptr<const CodePage> codePage_;
    std::filesystem::path file_;
    std::string lastError_;
};

}  // namespace leafmill
