#pragma once

#include "app/Settings.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace leafmill {

inline constexpr std::string_view kMainSettings = "MainSettings";
inline constexpr std::string_view kUserSettings = "UserSettings";
inline constexpr std::string_view kNotesReader = "NotesReader";

// Far above any real table; keeps a mistyped count from sizing a table of
// billions of rows, each read from the file.
inline constexpr int32_t kMaxTableIndex = 9999;

// The field a key fills, and by its type how the key is stored: a text as it
// is, a whole number in decimal, a switch as 0 or 1.
using SettingsField = std::variant<std::string Settings::*, int32_t Settings::*, std::string NotesReaderSettings::*,
                                   int32_t NotesReaderSettings::*, bool NotesReaderSettings::*>;

// When SaveSettings writes a key back.
enum class KeySaving {
    Never,  // the program only reads it
    Always,
    WithReaderPages,  // with the reader's pages; found in the file, it turns them on
    WhenChanged,  // with the reader's pages, else only to change what the file holds
};

// The numbers a key may hold. Without a highest the refusal says the value is
// below the lowest, else that it lies outside the range.
struct KeyBounds {
    int32_t lowest = std::numeric_limits<int32_t>::min();
    int32_t highest = std::numeric_limits<int32_t>::max();
    int32_t Settings::*highestField = nullptr;  // the highest is another setting read before
    bool zeroAllowed = false;  // 0 switches the feature off, below the lowest
};

// A text's refusal (empty when the value is sound).
using TextCheck = std::string (*)(const std::string& value);

// One key of main.ini held in the settings record.
struct SettingsKey {
    std::string_view section;
    std::string_view name;
    SettingsField field;
    // What a missing or empty key stands for; none: the key must be there.
    std::optional<std::string_view> fallback;
    KeySaving saving = KeySaving::Always;
    KeyBounds bounds {};
    TextCheck check = nullptr;
};

// Every single key of the record, in the order they are read and written.
std::span<const SettingsKey> settingsKeys();

// The row of a key of the table by its section and name.
const SettingsKey& settingsKey(std::string_view section, std::string_view name);

// The keys of a numbered list: the prefix and the index in decimal,
// "CutWord0", "CutWord1", ...
struct NumberedKey {
    std::string_view section;
    std::string_view prefix;

    std::string name(int32_t index) const { return std::string(prefix) + std::to_string(index); }
};

inline constexpr NumberedKey kPageSizeKeys {kMainSettings, "SingleFileSize"};
inline constexpr NumberedKey kCutWindowKeys {kMainSettings, "InOutFileSize"};
inline constexpr NumberedKey kCutWordKeys {kUserSettings, "CutWord"};
// The factory cut words, in their stored form; only the settings dialog's
// restore button reads them.
inline constexpr NumberedKey kDefaultCutWordKeys {kMainSettings, "CutWordDef"};

}  // namespace leafmill
