#include "app/SettingsStore.h"

#include "io/FileAccess.h"
#include "text/AsciiCase.h"
#include "text/CodePage.h"
#include "text/PageEncoder.h"
#include "text/SourceEncoding.h"

#include <array>
#include <charconv>
#include <fstream>
#include <optional>
#include <utility>

namespace leafmill {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kMainSettings = "MainSettings";
constexpr std::string_view kUserSettings = "UserSettings";
constexpr std::string_view kNotesReader = "NotesReader";
constexpr std::string_view kSourceEncoding = "SourceEncoding";
constexpr std::array<std::string_view, 5> kNotesReaderSwitches
    = {"Links", "Titles", "Contents", "ChapterPages", "JoinLines"};

// Far above any real table; keeps a mistyped count from sizing a table of
// billions of rows, each read from the file.
constexpr int32_t kMaxTableIndex = 9999;

// A whole decimal number in the 32-bit range, with an optional sign.
std::optional<int32_t> parseNumber(std::string_view text)
{
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    int32_t value = 0;
    const char* end = text.data() + text.size();
    auto [stop, status] = std::from_chars(text.data(), end, value);
    if (text.empty() || status != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::string refusal(const std::string& file, std::string_view section, std::string_view key, const std::string& why)
{
    return "The settings file " + file + ", section [" + std::string(section) + "], key " + std::string(key) + ": "
        + why + ".";
}

// Reads the keys of main.ini from one snapshot of it (tables of thousands of
// rows would otherwise read the file once per key) and words the refusals:
// each names the file, the section and the key. Fixed English, since no
// language is loaded yet.
class SettingsReader {
public:
    SettingsReader(const classIniFile& ini, std::string file)
        : ini_(ini.snapshot())
        , file_(std::move(file))
    {
    }

    const std::string& error() const { return error_; }

    bool refuse(std::string_view section, std::string_view key, const std::string& why)
    {
        error_ = refusal(file_, section, key, why);
        return false;
    }

    std::string text(std::string_view section, std::string_view key) const { return ini_.GetIniKey(section, key); }

    // A number that must be present.
    bool number(std::string_view section, std::string_view key, int32_t& out)
    {
        const std::string value = text(section, key);
        if (value.empty())
            return refuse(section, key, "is missing or empty");
        return convert(section, key, value, out);
    }

    // A number that takes `fallback` when missing or empty.
    bool number(std::string_view section, std::string_view key, int32_t fallback, int32_t& out)
    {
        const std::string value = text(section, key);
        if (value.empty()) {
            out = fallback;
            return true;
        }
        return convert(section, key, value, out);
    }

    bool atLeast(std::string_view section, std::string_view key, int32_t value, int32_t lowest)
    {
        if (value < lowest)
            return refuse(section, key, std::to_string(value) + " is below " + std::to_string(lowest));
        return true;
    }

    bool within(std::string_view section, std::string_view key, int32_t value, int32_t lowest, int32_t highest)
    {
        if (value < lowest || value > highest)
            return refuse(section, key,
                          std::to_string(value) + " lies outside " + std::to_string(lowest) + ".."
                              + std::to_string(highest));
        return true;
    }

private:
    bool convert(std::string_view section, std::string_view key, const std::string& value, int32_t& out)
    {
        const std::optional<int32_t> parsed = parseNumber(value);
        if (!parsed)
            return refuse(section, key, "\"" + value + "\" is not a whole number");
        out = *parsed;
        return true;
    }

    classIniFile::Snapshot ini_;
    std::string file_;
    std::string error_;
};

bool readCutTypes(SettingsReader& reader, Settings& settings)
{
    if (!reader.number(kMainSettings, "CutTypeNum", settings.CutTypeNum)
        || !reader.within(kMainSettings, "CutTypeNum", settings.CutTypeNum, 0, kMaxTableIndex))
        return false;
    settings.CutTypeTable.clear();
    for (int32_t i = 0; i <= settings.CutTypeNum; ++i) {
        const std::string sizeKey = "SingleFileSize" + std::to_string(i);
        const std::string windowKey = "InOutFileSize" + std::to_string(i);
        CutType row;
        if (!reader.number(kMainSettings, sizeKey, row.SingleFileSize)
            || !reader.atLeast(kMainSettings, sizeKey, row.SingleFileSize, 0)
            || !reader.number(kMainSettings, windowKey, row.InOutFileSize)
            || !reader.atLeast(kMainSettings, windowKey, row.InOutFileSize, 0))
            return false;
        // The cut word is looked for inside the page.
        if (row.SingleFileSize > 0 && row.InOutFileSize > row.SingleFileSize)
            return reader.refuse(kMainSettings, windowKey,
                                 std::to_string(row.InOutFileSize) + " is above the page size " + sizeKey + " "
                                     + std::to_string(row.SingleFileSize));
        settings.CutTypeTable.push_back(row);
    }
    return true;
}

bool readCutWords(SettingsReader& reader, Settings& settings)
{
    if (!reader.number(kMainSettings, "CutWordNum", settings.CutWordNum)
        || !reader.within(kMainSettings, "CutWordNum", settings.CutWordNum, 0, kMaxTableIndex))
        return false;
    settings.CutWord.clear();
    // Empty entries stay in their places; the cutter passes over them.
    for (int32_t j = 0; j <= settings.CutWordNum; ++j)
        settings.CutWord.push_back(DecodeCutWord(reader.text(kUserSettings, "CutWord" + std::to_string(j))));
    return true;
}

// Each page must start later than the one before: the bytes repeated must be
// fewer than the shortest cut, which is the page size minus the window.
bool keepLeavesProgress(SettingsReader& reader, const Settings& settings)
{
    const CutType& row = settings.activeCutType();
    if (row.SingleFileSize == 0 || settings.KeepFileSize == 0)
        return true;
    const int32_t shortestCut = row.SingleFileSize - row.InOutFileSize;
    if (settings.KeepFileSize < shortestCut)
        return true;
    const std::string index = std::to_string(settings.CutTypeIndex);
    return reader.refuse(kUserSettings, "KeepFileSize",
                         std::to_string(settings.KeepFileSize) + " is not below the shortest cut of row " + index
                             + " (SingleFileSize" + index + " minus InOutFileSize" + index + ", "
                             + std::to_string(shortestCut) + "), so a page would not move on");
}

bool readUserSettings(SettingsReader& reader, Settings& settings)
{
    settings.MyLagIndex = reader.text(kUserSettings, "MyLagIndex");
    if (!reader.number(kUserSettings, "OpenFilesFilterIndex", 1, settings.OpenFilesFilterIndex)
        || !reader.number(kUserSettings, "CutTypeIndex", 0, settings.CutTypeIndex)
        || !reader.within(kUserSettings, "CutTypeIndex", settings.CutTypeIndex, 0, settings.CutTypeNum))
        return false;
    settings.BookName = reader.text(kUserSettings, "BookName");
    if (!reader.number(kUserSettings, "KeepFileSize", 0, settings.KeepFileSize)
        || !reader.within(kUserSettings, "KeepFileSize", settings.KeepFileSize, 0, kMaxKeepFileSize))
        return false;
    settings.InPutDir = reader.text(kUserSettings, "InPutDir");
    settings.OutPutDir = reader.text(kUserSettings, "OutPutDir");

    // Whole-file mode writes each source as one file; a page size at the
    // chosen row would contradict it.
    const int32_t chosenSize = settings.activeCutType().SingleFileSize;
    if (settings.wholeFileMode() && chosenSize != 0)
        return reader.refuse(kUserSettings, "CutTypeIndex",
                             "row " + std::to_string(settings.CutTypeIndex) + " has the page size "
                                 + std::to_string(chosenSize) + ", but the last row's page size 0 (SingleFileSize"
                                 + std::to_string(settings.CutTypeNum) + ") switches on whole-file mode");
    return keepLeavesProgress(reader, settings);
}

bool* notesReaderSwitch(NotesReaderSettings& notes, std::size_t index)
{
    std::array<bool*, kNotesReaderSwitches.size()> fields
        = {&notes.Links, &notes.Titles, &notes.Contents, &notes.ChapterPages, &notes.JoinLines};
    return fields[index];
}

// An empty key is the default, "auto".
bool readSourceEncoding(const std::string& stored, std::string* value, std::string* why)
{
    *why = sourceEncodingProblem(stored);
    *value = stored.empty() ? std::string(kDetectEncoding) : stored;
    return why->empty();
}

// A main.ini without any key of the section keeps the pages as they were.
bool readNotesReader(SettingsReader& reader, Settings& settings)
{
    NotesReaderSettings notes;
    notes.PageEncoding = reader.text(kNotesReader, "PageEncoding");
    notes.present = !notes.PageEncoding.empty();
    for (std::size_t i = 0; i < kNotesReaderSwitches.size(); ++i) {
        const std::string value = reader.text(kNotesReader, kNotesReaderSwitches[i]);
        notes.present = notes.present || !value.empty();
        if (!value.empty() && value != "0" && value != "1")
            return reader.refuse(kNotesReader, kNotesReaderSwitches[i], "\"" + value + "\" is neither 0 nor 1");
        *notesReaderSwitch(notes, i) = value == "1";
    }
    notes.present = notes.present || !reader.text(kNotesReader, "VolumeNotes").empty();
    if (!reader.number(kNotesReader, "VolumeNotes", 0, notes.VolumeNotes))
        return false;
    if (notes.VolumeNotes != 0 && !reader.atLeast(kNotesReader, "VolumeNotes", notes.VolumeNotes, kLeastVolumeNotes))
        return false;
    std::string why;
    if (!notes.PageEncoding.empty() && !PageEncoder::open(notes.PageEncoding, &why))
        return reader.refuse(kNotesReader, "PageEncoding", why);
    if (!readSourceEncoding(reader.text(kNotesReader, kSourceEncoding), &notes.SourceEncoding, &why))
        return reader.refuse(kNotesReader, kSourceEncoding, why);
    settings.NotesReader = notes;
    return true;
}

bool fail(std::string* error, std::string why)
{
    if (error)
        *error = std::move(why);
    return false;
}

}  // namespace

SettingsStore::SettingsStore(fs::path iniPath)
    : iniPath_(std::move(iniPath))
{
    ini_.INIFileName(iniPath_);
}

std::shared_ptr<const CodePage> SettingsStore::LoadCodePage(const fs::path& iniPath, std::string* error)
{
    const std::string file = pathToUtf8(iniPath);
    std::error_code ec;
    if (!fs::is_regular_file(iniPath, ec)) {
        fail(error, "The settings file " + file + " is missing.");
        return nullptr;
    }
    if (!std::ifstream(iniPath, std::ios::binary)) {
        fail(error, "The settings file " + file + " cannot be read.");
        return nullptr;
    }

    // The code page's name is ASCII, so it is read before the code page is
    // known, with the bytes passing unchanged. One key: no snapshot needed.
    classIniFile plain;
    plain.INIFileName(iniPath);
    const std::string codePageName = plain.GetIniKey(kMainSettings, "CodePage");
    std::string why;
    const std::string openedName = codePageName.empty() ? CodePage::systemName() : codePageName;
    std::shared_ptr<const CodePage> codePage = CodePage::open(openedName, &why);
    if (codePage && codePage->isStateful())
        why = "code page \"" + openedName + "\" shifts between character sets, so a page could start in the wrong one";
    if (!codePage || codePage->isStateful()) {
        fail(error, refusal(file, kMainSettings, "CodePage", why));
        return nullptr;
    }
    return codePage;
}

bool SettingsStore::LoadSourceEncoding(const fs::path& iniPath, std::string* value, std::string* error)
{
    // An encoding's name is ASCII, like the code page's.
    classIniFile plain;
    plain.INIFileName(iniPath);
    std::string why;
    if (readSourceEncoding(plain.GetIniKey(kNotesReader, kSourceEncoding), value, &why))
        return true;
    return fail(error, refusal(pathToUtf8(iniPath), kNotesReader, kSourceEncoding, why));
}

bool SettingsStore::LoadSettings(std::string* error)
{
    std::shared_ptr<const CodePage> codePage = LoadCodePage(iniPath_, error);
    if (!codePage)
        return false;

    classIniFile ini(codePage);
    ini.INIFileName(iniPath_);
    SettingsReader reader(ini, pathToUtf8(iniPath_));
    Settings settings;
    if (!readCutTypes(reader, settings))
        return fail(error, reader.error());
    settings.Filter = reader.text(kMainSettings, "Filter");
    if (!readCutWords(reader, settings) || !readUserSettings(reader, settings) || !readNotesReader(reader, settings))
        return fail(error, reader.error());

    record_ = std::move(settings);
    codePage_ = std::move(codePage);
    ini_ = std::move(ini);
    return true;
}

bool SettingsStore::SaveSettings(std::string* error)
{
    if (!codePage_)
        return fail(error, "the settings were never loaded from " + pathToUtf8(iniPath_));
    const Settings& s = record_;
    std::vector<std::pair<std::string, std::string>> keys = {
        {"MyLagIndex", s.MyLagIndex},
        {"OpenFilesFilterIndex", std::to_string(s.OpenFilesFilterIndex)},
        {"CutTypeIndex", std::to_string(s.CutTypeIndex)},
        {"BookName", s.BookName},
        {"KeepFileSize", std::to_string(s.KeepFileSize)},
        {"InPutDir", s.InPutDir},
        {"OutPutDir", s.OutPutDir},
    };
    for (int32_t j = 0; j <= s.CutWordNum; ++j) {
        const auto index = static_cast<std::size_t>(j);
        keys.emplace_back("CutWord" + std::to_string(j),
                          EncodeCutWord(index < s.CutWord.size() ? s.CutWord[index] : ""));
    }
    // One replacement of the file for all keys: a failure leaves it whole.
    if (!ini_.WriteIniKeys(kUserSettings, keys))
        return fail(error, ini_.lastError());
    NotesReaderSettings notes = s.NotesReader;
    std::vector<std::pair<std::string, std::string>> noteKeys;
    if (notes.present) {
        noteKeys.emplace_back("PageEncoding", notes.PageEncoding);
        for (std::size_t i = 0; i < kNotesReaderSwitches.size(); ++i)
            noteKeys.emplace_back(kNotesReaderSwitches[i], *notesReaderSwitch(notes, i) ? "1" : "0");
        noteKeys.emplace_back("VolumeNotes", std::to_string(notes.VolumeNotes));
    }
    // Without the reader's pages the key is written only to change what the file holds.
    const std::string stored = ini_.GetIniKey(kNotesReader, kSourceEncoding);
    if (notes.present || notes.SourceEncoding != (stored.empty() ? kDetectEncoding : std::string_view(stored)))
        noteKeys.emplace_back(kSourceEncoding, notes.SourceEncoding);
    if (noteKeys.empty())
        return true;
    if (!ini_.WriteIniKeys(kNotesReader, noteKeys))
        return fail(error, ini_.lastError());
    return true;
}

std::string DecodeCutWord(std::string_view stored)
{
    if (equalsNoCase(stored, "enter"))
        return "\r\n";
    if (equalsNoCase(stored, "space"))
        return " ";
    return std::string(stored);
}

std::string EncodeCutWord(std::string_view word)
{
    if (word == "\r\n")
        return "enter";
    if (word == " ")
        return "space";
    return std::string(word);
}

}  // namespace leafmill
