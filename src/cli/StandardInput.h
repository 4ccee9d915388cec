#pragma once

#include "extract/Formats.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace leafmill::cli {

// The source name that stands for standard input, and how messages call it.
inline constexpr std::string_view kStandardInput = "-";
inline constexpr const char* kStandardInputName = "standard input";

// Standard input whole, in binary. Refused when it is a terminal: a document
// is piped or redirected in, and typing one would wait for an end of file
// that Ctrl-C cannot give. Reading ends early, with no error, once `stopped`
// says so.
bool readStandardInput(std::string& bytes, const std::function<bool()>& stopped, std::string* error);

// Standard input kept as a file while a run reads it: the run reads sources
// by path, some twice (their content is looked at before the reader reads
// them), and a pipe can be read only once. The file is
// <temporary folder>/leafmill-<number>/<stem><ending>, the ending `format`
// names (as --format takes it), else the content's row's (none when the content is of no kind
// the table reads); so a book's chapter and whole-file page take the stem as
// their name. The folder goes with the object.
class StagedInput {
public:
    StagedInput() = default;
    ~StagedInput();
    StagedInput(const StagedInput&) = delete;
    StagedInput& operator=(const StagedInput&) = delete;

    bool stage(const std::string& stem, const std::string& format, const DispatchTable& table,
               const std::function<bool()>& stopped, std::string* error);

    const std::string& path() const { return path_; }

private:
    std::filesystem::path folder_;
    std::string path_;
};

}  // namespace leafmill::cli
