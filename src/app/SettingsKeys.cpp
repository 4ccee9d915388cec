#include "app/SettingsKeys.h"

#include "text/PageEncoder.h"
#include "text/SourceEncoding.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace leafmill {

namespace {

std::string pageEncodingProblem(const std::string& name)
{
    std::string why;
    if (!name.empty() && !PageEncoder::open(name, &why))
        return why;
    return {};
}

std::string sourceEncodingRefusal(const std::string& name)
{
    return sourceEncodingProblem(name);
}

using S = Settings;
using N = NotesReaderSettings;
using enum KeySaving;

constexpr std::string_view kZero = "0";
constexpr KeyBounds kTableIndex {0, kMaxTableIndex};
constexpr KeyBounds kTableRow {.lowest = 0, .highestField = &S::CutTypeNum};
constexpr KeyBounds kVolumeSize {.lowest = kLeastVolumeNotes, .zeroAllowed = true};

const std::array<SettingsKey, 18> kKeys {{
    {kMainSettings, "CutTypeNum", &S::CutTypeNum, std::nullopt, Never, kTableIndex},
    {kMainSettings, "Filter", &S::Filter, "", Never},
    {kMainSettings, "CutWordNum", &S::CutWordNum, std::nullopt, Never, kTableIndex},
    {kUserSettings, "MyLagIndex", &S::MyLagIndex, ""},
    {kUserSettings, "OpenFilesFilterIndex", &S::OpenFilesFilterIndex, "1"},
    {kUserSettings, "CutTypeIndex", &S::CutTypeIndex, kZero, Always, kTableRow},
    {kUserSettings, "BookName", &S::BookName, ""},
    {kUserSettings, "KeepFileSize", &S::KeepFileSize, kZero, Always, {0, kMaxKeepFileSize}},
    {kUserSettings, "InPutDir", &S::InPutDir, ""},
    {kUserSettings, "OutPutDir", &S::OutPutDir, ""},
    {kNotesReader, "PageEncoding", &N::PageEncoding, "", WithReaderPages, {}, pageEncodingProblem},
    {kNotesReader, "Links", &N::Links, kZero, WithReaderPages},
    {kNotesReader, "Titles", &N::Titles, kZero, WithReaderPages},
    {kNotesReader, "Contents", &N::Contents, kZero, WithReaderPages},
    {kNotesReader, "ChapterPages", &N::ChapterPages, kZero, WithReaderPages},
    {kNotesReader, "JoinLines", &N::JoinLines, kZero, WithReaderPages},
    {kNotesReader, "VolumeNotes", &N::VolumeNotes, kZero, WithReaderPages, kVolumeSize},
    {kNotesReader, "SourceEncoding", &N::SourceEncoding, kDetectEncoding, WhenChanged, {}, sourceEncodingRefusal},
}};

}  // namespace

std::span<const SettingsKey> settingsKeys()
{
    return kKeys;
}

const SettingsKey& settingsKey(std::string_view section, std::string_view name)
{
    const auto row = std::find_if(kKeys.begin(), kKeys.end(),
                                  [&](const SettingsKey& key) { return key.section == section && key.name == name; });
    if (row == kKeys.end())
        throw std::logic_error("no settings key " + std::string(name));
    return *row;
}

}  // namespace leafmill
