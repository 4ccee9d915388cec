#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace leafmill {
struct NotesReaderSettings;
}

namespace leafmill::cli {

// Choices for the Notes reader's pages given on the command line; those not
// given keep main.ini's.
struct ReaderChoices {
    std::optional<std::string> encoding;
    std::optional<bool> links;
    std::optional<bool> titles;
    std::optional<bool> contents;
    std::optional<bool> chapterPages;
    std::optional<bool> joinLines;

    bool any() const;
    // Any choice makes the pages for the reader, as the section would.
    void applyTo(NotesReaderSettings& notes) const;
};

// The command line, taken apart.
struct CliOptions {
    enum class Command { Book, Text, Check, IPods, Send, Remove, NextVolume, Help, Version };
    Command command = Command::Help;
    std::string settingsFile;  // empty: main.ini of the program folder
    std::string bookName;
    std::string outputFolder;
    std::vector<std::string> sources;  // the book's sources, or the one --text source; "-" is standard input
    std::string checkFolder;  // the folder --check reads as the Notes reader does
    std::string iPodBook;  // --send and --next-volume: the book folder; --remove: the folder of Notes
    std::string iPodVolume;  // --to: the iPod's mount point; empty: the one connected
    std::string format;  // --format: what standard input holds; empty: its content tells
    std::optional<int32_t> pageSize;  // --page-size: a row or a size in bytes (PageSizeChoice.h)
    ReaderChoices reader;
    std::optional<std::string> sourceEncoding;  // overrides main.ini's SourceEncoding
};

// False with the reason when the arguments fit none of the forms.
bool parseCommandLine(const std::vector<std::string>& arguments, CliOptions* options, std::string* error);

// The forms, for --help.
std::string usageText();

}  // namespace leafmill::cli
