#pragma once

#include <string>
#include <vector>

namespace leafmill::cli {

// The command line, taken apart.
struct CliOptions {
    enum class Command { Book, Text, Help, Version };
    Command command = Command::Help;
    std::string settingsFile; // empty: main.ini of the program folder
    std::string bookName;
    std::string outputFolder;
    std::vector<std::string> sources; // the book's sources, or the one --text source
};

// False with the reason when the arguments fit none of the forms.
bool parseCommandLine(const std::vector<std::string>& arguments, CliOptions* options, std::string* error);

// The forms, for --help and after a usage error.
const char* usageText();

} // namespace leafmill::cli
