#include "targets/notes/NotesCheck.h"

#include "app/Settings.h"
#include "convert/EndMessage.h"
#include "io/FileAccess.h"
#include "lang/LanguageTable.h"
#include "lang/StringId.h"
#include "targets/notes/NotesFolder.h"
#include "targets/notes/ReaderLimits.h"
#include "targets/notes/ReaderView.h"
#include "text/AsciiCase.h"
#include "text/PageEncoder.h"

#include <algorithm>
#include <map>
#include <set>
#include <system_error>

namespace leafmill {

namespace fs = std::filesystem;

namespace {

std::string within(const fs::path& path, const fs::path& folder)
{
    std::string name;
    for (const fs::path& part : path.lexically_relative(folder))
        name += (name.empty() ? "" : "/") + pathToUtf8(part);
    return name;
}

// Notes are found by name as a FAT disk finds them, ASCII letters in any case.
std::string noteKey(const fs::path& path)
{
    return asciiLowered(pathToUtf8(path.lexically_normal()));
}

// A link to a song, a web page or a file by URL, which is no note of the folder.
bool namesAScheme(const std::string& href)
{
    const std::size_t colon = href.find(':');
    return colon != std::string::npos && colon > 1 && href.find('/') > colon;
}

void checkLinks(const ReaderNote& shown, const fs::path& note, const fs::path& notesFolder,
                const std::set<std::string>& loaded, const std::string& name, std::vector<CheckFinding>& findings)
{
    for (const NoteLink& link : shown.links) {
        if (namesAScheme(link.href))
            continue;
        const fs::path target = (link.href.starts_with("/") ? notesFolder / pathFromUtf8(link.href.substr(1))
                                                            : note.parent_path() / pathFromUtf8(link.href))
                                    .lexically_normal();
        std::error_code ec;
        const bool reached = !link.href.empty()
            && (fs::is_directory(target, ec) || (fs::is_regular_file(target, ec) && loaded.contains(noteKey(target))));
        if (!reached)
            findings.push_back({CheckFinding::Kind::DeadLink, name, link.href});
    }
}

void checkNote(const fs::path& note, const fs::path& folder, const fs::path& notesFolder,
               const std::set<std::string>& loaded, const PageEncoder& readerEncoding,
               std::vector<CheckFinding>& findings)
{
    const std::string name = within(note, folder);
    std::string bytes;
    std::string reason;
    if (readWholeFile(note, bytes, &reason) != ReadResult::Ok) {
        findings.push_back({CheckFinding::Kind::Unreadable, name, reason});
        return;
    }
    const ReaderNote shown = readReaderNote(bytes, readerEncoding);
    if (shown.size > static_cast<std::size_t>(kReaderNoteBytes))
        findings.push_back({CheckFinding::Kind::NoteCut, name, shown.cutFrom, static_cast<int64_t>(shown.size)});
    if (shown.faults.count > 0)
        findings.push_back({CheckFinding::Kind::BadBytes, name, shown.encoding,
                            static_cast<int64_t>(shown.faults.count), static_cast<int64_t>(shown.faults.first)});
    for (const std::string& tag : shown.badTags)
        findings.push_back({CheckFinding::Kind::BadTag, name, tag});
    checkLinks(shown, note, notesFolder, loaded, name, findings);
}

// A name the menu lists with its siblings by their number: "Book0012.txt",
// "00 Contents 2.txt"; "00 Contents.txt" is the first of its numbered parts.
struct Numbered {
    std::string group;
    uint64_t number = 0;
};

bool numberedName(const std::string& name, Numbered* numbered)
{
    if (name.size() < 5 || !equalsNoCase(std::string_view(name).substr(name.size() - 4), ".txt"))
        return false;
    const std::string stem = name.substr(0, name.size() - 4);
    std::size_t digits = stem.size();
    while (digits > 0 && stem[digits - 1] >= '0' && stem[digits - 1] <= '9')
        --digits;
    if (stem.size() - digits > 18)
        return false;
    if (digits == stem.size()) {
        *numbered = {stem + " ", 0};
        return true;
    }
    *numbered = {stem.substr(0, digits), std::stoull(stem.substr(digits))};
    return true;
}

// Numbered notes of one folder that the menu's name order puts before a note
// of their group with a lower number: the first such of each group.
void checkMenuOrder(const fs::path& folder, const fs::path& checked, std::vector<CheckFinding>& findings)
{
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        std::error_code kindError;
        if (entry.is_directory(kindError) && !entry.is_symlink(kindError))
            checkMenuOrder(entry.path(), checked, findings);
        else if (entry.is_regular_file(kindError))
            names.push_back(pathToUtf8(entry.path().filename()));
    }
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return readerNameLess(a, b); });
    std::map<std::string, std::pair<uint64_t, std::string>> lastOfGroup;
    std::set<std::string> told;
    for (const std::string& name : names) {
        Numbered numbered;
        if (!numberedName(name, &numbered))
            continue;
        const auto last = lastOfGroup.find(numbered.group);
        if (last != lastOfGroup.end() && last->second.first > numbered.number && told.insert(numbered.group).second)
            findings.push_back({CheckFinding::Kind::MenuOrder,
                                within(folder / pathFromUtf8(last->second.second), checked),
                                within(folder / pathFromUtf8(name), checked)});
        lastOfGroup[numbered.group] = {numbered.number, name};
    }
}

std::string described(const LanguageTable& language, const CheckFinding& finding)
{
    using Kind = CheckFinding::Kind;
    const auto text = [&](int id) { return replaceAll(language.text(id), "@Note", finding.note); };
    switch (finding.kind) {
    case Kind::Unreadable:
        return replaceAll(text(StringId::CheckUnreadable), "@Reason", finding.detail);
    case Kind::NoteCut:
        return replaceAll(replaceAll(text(StringId::CheckNoteCut), "@Size", std::to_string(finding.count)), "@Cut",
                          finding.detail);
    case Kind::NotLoaded:
        return replaceAll(replaceAll(replaceAll(replaceAll(language.text(StringId::CheckNotLoaded), "@Notes",
                                                           std::to_string(finding.count)),
                                                "@Limit", std::to_string(kReaderNoteLimit)),
                                     "@Unloaded", std::to_string(finding.other)),
                          "@First", finding.note);
    case Kind::DeadLink:
        return replaceAll(text(StringId::CheckDeadLink), "@Target", finding.detail);
    case Kind::BadTag:
        return replaceAll(text(StringId::CheckBadTag), "@Tag", finding.detail);
    case Kind::BadBytes:
        return replaceAll(replaceAll(replaceAll(text(StringId::CheckBadBytes), "@Count", std::to_string(finding.count)),
                                     "@Encoding", finding.detail),
                          "@Offset", std::to_string(finding.other));
    case Kind::MenuOrder:
        return replaceAll(text(StringId::CheckMenuOrder), "@Other", finding.detail);
    }
    return {};
}

}  // namespace

std::string readerEncodingFor(const NotesReaderSettings& notes, const std::string& codePageName)
{
    return PageEncoder::readerEncodingName(notes.PageEncoding.empty() ? codePageName : notes.PageEncoding);
}

std::vector<CheckFinding> checkNotes(const fs::path& folder, const PageEncoder& readerEncoding)
{
    std::vector<CheckFinding> findings;
    const fs::path checked = fs::absolute(folder).lexically_normal();
    fs::path notesFolder = iPodNotesFolder(checked);
    if (notesFolder.empty())
        notesFolder = checked;
    const std::vector<fs::path> all = notesInLoadOrder(notesFolder);
    const auto loadedEnd
        = all.begin() + std::min<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(all.size()), kReaderNoteLimit);
    std::set<std::string> loaded;
    for (auto note = all.begin(); note != loadedEnd; ++note)
        loaded.insert(noteKey(*note));
    if (loadedEnd != all.end())
        findings.push_back({CheckFinding::Kind::NotLoaded,
                            within(*loadedEnd, notesFolder),
                            {},
                            static_cast<int64_t>(all.size()),
                            static_cast<int64_t>(all.end() - loadedEnd)});
    for (const fs::path& note : notesInLoadOrder(checked))
        checkNote(note, checked, notesFolder, loaded, readerEncoding, findings);
    checkMenuOrder(checked, checked, findings);
    return findings;
}

std::string checkReport(const LanguageTable& language, const std::string& folder,
                        const std::vector<CheckFinding>& findings)
{
    if (findings.empty())
        return replaceAll(language.text(StringId::CheckClean), "@Folder", folder);
    std::string report = replaceAll(language.text(StringId::CheckHeading), "@Folder", folder);
    for (const CheckFinding& finding : findings)
        report += "\n" + described(language, finding);
    return report;
}

}  // namespace leafmill
