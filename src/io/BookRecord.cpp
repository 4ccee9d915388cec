#include "io/BookRecord.h"

#include "io/FileAccess.h"

namespace leafmill {

namespace {

// The record is a note the reader shows like any other: its first line tells
// the reader that the names are UTF-8, whatever the book's encoding.
constexpr std::string_view kDeclaration = "<?xml encoding=\"UTF8\"?>";
constexpr std::string_view kSignature = "Leafmill book record 1";
constexpr std::string_view kLineEnd = "\r\n";

// A name of this folder that no other folder can be reached by; a folder's
// (a volume of the book) ends with a slash.
bool isPlainName(std::string_view name)
{
    if (name.ends_with('/'))
        name.remove_suffix(1);
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\:") == std::string_view::npos;
}

}  // namespace

BookRecord readBookRecord(const std::filesystem::path& folder)
{
    BookRecord record;
    std::string bytes, reason;
    const ReadResult read = readWholeFile(folder / pathFromUtf8(kBookRecordName), bytes, &reason);
    if (read == ReadResult::Missing)
        return record;
    std::string_view rest = bytes;
    if (rest.starts_with(kDeclaration))
        rest = rest.substr(rest.find('\n') + 1);
    record.ours = read == ReadResult::Ok && rest.starts_with(kSignature);
    if (!record.ours)
        return record;
    rest.remove_prefix(kSignature.size());
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (isPlainName(line))
            record.names.emplace_back(line);
    }
    return record;
}

bool writeBookRecord(const std::filesystem::path& folder, const std::vector<std::string>& names, std::string* error)
{
    std::string bytes(kDeclaration);
    bytes += kLineEnd;
    bytes += kSignature;
    bytes += kLineEnd;
    for (const std::string& name : names)
        bytes += name + std::string(kLineEnd);
    return replaceFile(folder / pathFromUtf8(kBookRecordName), bytes, error);
}

}  // namespace leafmill
