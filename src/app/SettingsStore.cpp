#include "app/SettingsStore.h"

#include "app/SettingsKeys.h"

#include "io/FileAccess.h"
#include "text/AsciiCase.h"
#include "text/CodePage.h"

#include <charconv>
#include <fstream>
#include <limits>
#include <optional>
#include <utility>

namespace leafmill {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kCodePage = "CodePage";

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

// The field a member of the record or of its reader's part names.
template <typename Record, typename T> auto& fieldOf(Record& settings, T Settings::*member)
{
    return settings.*member;
}
template <typename Record, typename T> auto& fieldOf(Record& settings, T NotesReaderSettings::*member)
{
    return settings.NotesReader.*member;
}

std::string storedText(const std::string& value)
{
    return value;
}
std::string storedText(int32_t value)
{
    return std::to_string(value);
}
std::string storedText(bool value)
{
    return value ? "1" : "0";
}

// The field's value as main.ini stores it.
std::string storedValue(const SettingsKey& key, const Settings& settings)
{
    return std::visit([&](auto member) { return storedText(fieldOf(settings, member)); }, key.field);
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

    // One key of the table into its field of `settings`.
    bool read(const SettingsKey& key, Settings& settings)
    {
        std::string value = text(key.section, key.name);
        if (value.empty()) {
            if (!key.fallback)
                return refuse(key.section, key.name, "is missing or empty");
            value = *key.fallback;
        } else if (key.saving == KeySaving::WithReaderPages) {
            settings.NotesReader.present = true;
        }
        return std::visit([&](auto member) { return take(key, value, settings, fieldOf(settings, member)); },
                          key.field);
    }

    // A number of a numbered list that must be present and not below 0.
    bool numbered(const NumberedKey& list, int32_t index, int32_t& out)
    {
        const std::string name = list.name(index);
        const std::string value = text(list.section, name);
        if (value.empty())
            return refuse(list.section, name, "is missing or empty");
        return number(list.section, name, value, out) && atLeast(list.section, name, out, 0);
    }

private:
    bool take(const SettingsKey& key, const std::string& value, const Settings&, std::string& field)
    {
        if (key.check) {
            const std::string why = key.check(value);
            if (!why.empty())
                return refuse(key.section, key.name, why);
        }
        field = value;
        return true;
    }

    bool take(const SettingsKey& key, const std::string& value, const Settings&, bool& field)
    {
        if (value != "0" && value != "1")
            return refuse(key.section, key.name, "\"" + value + "\" is neither 0 nor 1");
        field = value == "1";
        return true;
    }

    bool take(const SettingsKey& key, const std::string& value, const Settings& settings, int32_t& field)
    {
        if (!number(key.section, key.name, value, field))
            return false;
        const KeyBounds& bounds = key.bounds;
        if (bounds.zeroAllowed && field == 0)
            return true;
        if (bounds.highestField)
            return within(key.section, key.name, field, bounds.lowest, settings.*bounds.highestField);
        if (bounds.highest == std::numeric_limits<int32_t>::max())
            return atLeast(key.section, key.name, field, bounds.lowest);
        return within(key.section, key.name, field, bounds.lowest, bounds.highest);
    }

    bool number(std::string_view section, std::string_view key, const std::string& value, int32_t& out)
    {
        const std::optional<int32_t> parsed = parseNumber(value);
        if (!parsed)
            return refuse(section, key, "\"" + value + "\" is not a whole number");
        out = *parsed;
        return true;
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

    classIniFile::Snapshot ini_;
    std::string file_;
    std::string error_;
};

bool readCutTypes(SettingsReader& reader, Settings& settings)
{
    settings.CutTypeTable.clear();
    for (int32_t i = 0; i <= settings.CutTypeNum; ++i) {
        CutType row;
        if (!reader.numbered(kPageSizeKeys, i, row.SingleFileSize)
            || !reader.numbered(kCutWindowKeys, i, row.InOutFileSize))
            return false;
        // The cut word is looked for inside the page.
        if (row.SingleFileSize > 0 && row.InOutFileSize > row.SingleFileSize)
            return reader.refuse(kMainSettings, kCutWindowKeys.name(i),
                                 std::to_string(row.InOutFileSize) + " is above the page size " + kPageSizeKeys.name(i)
                                     + " " + std::to_string(row.SingleFileSize));
        settings.CutTypeTable.push_back(row);
    }
    return true;
}

void readCutWords(const SettingsReader& reader, Settings& settings)
{
    settings.CutWord.clear();
    // Empty entries stay in their places; the cutter passes over them.
    for (int32_t j = 0; j <= settings.CutWordNum; ++j)
        settings.CutWord.push_back(DecodeCutWord(reader.text(kCutWordKeys.section, kCutWordKeys.name(j))));
}

// Whole-file mode writes each source as one file; a page size at the chosen
// row would contradict it.
bool rowFitsTheMode(SettingsReader& reader, const Settings& settings)
{
    const int32_t chosenSize = settings.activeCutType().SingleFileSize;
    if (!settings.wholeFileMode() || chosenSize == 0)
        return true;
    return reader.refuse(kUserSettings, "CutTypeIndex",
                         "row " + std::to_string(settings.CutTypeIndex) + " has the page size "
                             + std::to_string(chosenSize) + ", but the last row's page size 0 ("
                             + kPageSizeKeys.name(settings.CutTypeNum) + ") switches on whole-file mode");
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
                         std::to_string(settings.KeepFileSize) + " is not below the shortest cut of row " + index + " ("
                             + kPageSizeKeys.name(settings.CutTypeIndex) + " minus "
                             + kCutWindowKeys.name(settings.CutTypeIndex) + ", " + std::to_string(shortestCut)
                             + "), so a page would not move on");
}

bool readSettings(SettingsReader& reader, Settings& settings)
{
    for (const SettingsKey& key : settingsKeys())
        if (!reader.read(key, settings))
            return false;
    if (!readCutTypes(reader, settings))
        return false;
    readCutWords(reader, settings);
    return rowFitsTheMode(reader, settings) && keepLeavesProgress(reader, settings);
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
    const std::string codePageName = plain.GetIniKey(kMainSettings, kCodePage);
    std::string why;
    const std::string openedName = codePageName.empty() ? CodePage::systemName() : codePageName;
    std::shared_ptr<const CodePage> codePage = CodePage::open(openedName, &why);
    if (codePage && codePage->isStateful())
        why = "code page \"" + openedName + "\" shifts between character sets, so a page could start in the wrong one";
    if (!codePage || codePage->isStateful()) {
        fail(error, refusal(file, kMainSettings, kCodePage, why));
        return nullptr;
    }
    return codePage;
}

bool SettingsStore::LoadSourceEncoding(const fs::path& iniPath, std::string* value, std::string* error)
{
    // An encoding's name is ASCII, like the code page's.
    classIniFile plain;
    plain.INIFileName(iniPath);
    SettingsReader reader(plain, pathToUtf8(iniPath));
    Settings settings;
    if (!reader.read(settingsKey(kNotesReader, "SourceEncoding"), settings))
        return fail(error, reader.error());
    *value = settings.NotesReader.SourceEncoding;
    return true;
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
    if (!readSettings(reader, settings))
        return fail(error, reader.error());

    record_ = std::move(settings);
    codePage_ = std::move(codePage);
    ini_ = std::move(ini);
    return true;
}

bool SettingsStore::saves(const SettingsKey& key) const
{
    switch (key.saving) {
    case KeySaving::Never:
        return false;
    case KeySaving::Always:
        return true;
    case KeySaving::WithReaderPages:
        return record_.NotesReader.present;
    case KeySaving::WhenChanged:
        break;
    }
    if (record_.NotesReader.present)
        return true;
    const std::string stored = ini_.GetIniKey(key.section, key.name);
    return storedValue(key, record_) != (stored.empty() ? std::string(key.fallback.value_or("")) : stored);
}

bool SettingsStore::SaveSettings(std::string* error)
{
    if (!codePage_)
        return fail(error, "the settings were never loaded from " + pathToUtf8(iniPath_));
    std::vector<IniKey> keys;
    for (const SettingsKey& key : settingsKeys())
        if (saves(key))
            keys.push_back({std::string(key.section), std::string(key.name), storedValue(key, record_)});
    // The cut words follow the other user keys of their section.
    for (int32_t j = 0; j <= record_.CutWordNum; ++j) {
        const auto index = static_cast<std::size_t>(j);
        keys.push_back({std::string(kCutWordKeys.section), kCutWordKeys.name(j),
                        EncodeCutWord(index < record_.CutWord.size() ? record_.CutWord[index] : "")});
    }
    // One replacement of the file for all keys: a failure leaves it whole.
    if (!ini_.WriteIniKeys(keys))
        return fail(error, ini_.lastError());
    return true;
}

std::vector<std::string> SettingsStore::defaultCutWords() const
{
    std::vector<std::string> words;
    const classIniFile::Snapshot ini = ini_.snapshot();
    for (int32_t j = 0; j <= record_.CutWordNum; ++j)
        words.push_back(ini.GetIniKey(kDefaultCutWordKeys.section, kDefaultCutWordKeys.name(j)));
    return words;
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
