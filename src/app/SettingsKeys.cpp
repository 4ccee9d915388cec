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

constexpr std::string_view kZero = "0";
constexpr KeyBounds kTableIndex {0, kMaxTableIndex};

const std::array<SettingsKey, 18> kKeys {{
    {kMainSettings, "CutTypeNum", &S::CutTypeNum, std::nullopt, KeySaving::Never, kTableIndex},
    {kMainSettings, "Filter", &S::Filter, "", KeySaving::Never},
    {kMainSettings, "CutWordNum", &S::CutWordNum, std::nullopt, KeySaving::Never, kTableIndex},
    {kUserSettings, "MyLagIndex", &S::MyLagIndex, ""},
    {kUserSettings, "OpenFilesFilterIndex", &S::OpenFilesFilterIndex, "1"},
    {kUserSettings,
     "CutTypeIndex",
     &S::CutTypeIndex,
     kZero,
     KeySaving::Always,
     {.lowest = 0, .highestField = &S::CutTypeNum}},
    {kUserSettings, "BookName", &S::BookName, ""},
    {kUserSettings, "KeepFileSize", &S::KeepFileSize, kZero, KeySaving::Always, {0, kMaxKeepFileSize}},
    {kUserSettings, "InPutDir", &S::InPutDir, ""},
    {kUserSettings, "OutPutDir", &S::OutPutDir, ""},
    {kNotesReader, "PageEncoding", &N::PageEncoding, "", KeySaving::WithReaderPages, {}, pageEncodingProblem},
    {kNotesReader, "Links", &N::Links, kZero, KeySaving::WithReaderPages},
    {kNotesReader, "Titles", &N::Titles, kZero, KeySaving::WithReaderPages},
    {kNotesReader, "Contents", &N::Contents, kZero, KeySaving::WithReaderPages},
    {kNotesReader, "ChapterPages", &N::ChapterPages, kZero, KeySaving::WithReaderPages},
    {kNotesReader, "JoinLines", &N::JoinLines, kZero, KeySaving::WithReaderPages},
    {kNotesReader,
     "VolumeNotes",
     &N::VolumeNotes,
     kZero,
     KeySaving::WithReaderPages,
     {.lowest = kLeastVolumeNotes, .zeroAllowed = true}},
    {kNotesReader,
     "SourceEncoding",
     &N::SourceEncoding,
     kDetectEncoding,
     KeySaving::WhenChanged,
     {},
     sourceEncodingRefusal},
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
