#include "cli/StandardInput.h"

#include "convert/ContentDispatch.h"
#include "io/FileAccess.h"
#include "io/OutputFile.h"
#include "io/TemporaryTextFile.h"
#include "text/AsciiCase.h"

#include <cerrno>
#include <cstdio>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace leafmill::cli {

namespace {

constexpr std::size_t kBlockSize = 1 << 16;
constexpr int kAttempts = 100;

bool openStandardInput(std::string* error)
{
#ifdef _WIN32
    const bool terminal = _isatty(_fileno(stdin)) != 0;
    _setmode(_fileno(stdin), _O_BINARY);
#else
    const bool terminal = isatty(STDIN_FILENO) != 0;
#endif
    if (terminal)
        *error = std::string(kStandardInputName) + " is a terminal: pipe or redirect a document into it";
    return !terminal;
}

// The next block of standard input; empty at its end.
bool readBlock(std::string& block, std::string* error)
{
    block.resize(kBlockSize);
    const std::size_t got = std::fread(block.data(), 1, block.size(), stdin);
    block.resize(got);
    if (got == 0 && std::ferror(stdin)) {
        *error = std::string(kStandardInputName) + " could not be read: " + systemReason(errno);
        return false;
    }
    return true;
}

// A new folder only the user can enter, in the temporary folder.
bool makePrivateFolder(std::filesystem::path& folder, std::string* error)
{
    const std::string temp = GetTempDir();
    std::mt19937 random {std::random_device {}()};
    std::uniform_int_distribution<int> number(0, 999999);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::filesystem::path candidate = pathFromUtf8(temp + "leafmill-" + std::to_string(number(random)));
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            folder = candidate;
            std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace, ec);
            return true;
        }
        if (ec) {
            *error = "no folder for " + std::string(kStandardInputName) + " could be made in " + temp + ": "
                + ec.message();
            return false;
        }
    }
    *error = "no free folder name in " + temp;
    return false;
}

}  // namespace

bool readStandardInput(std::string& bytes, const std::function<bool()>& stopped, std::string* error)
{
    if (!openStandardInput(error))
        return false;
    std::string block;
    do {
        if (!readBlock(block, error))
            return false;
        bytes += block;
    } while (!block.empty() && !stopped());
    return true;
}

StagedInput::~StagedInput()
{
    if (!folder_.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
}

bool StagedInput::stage(const std::string& stem, const std::string& format, const DispatchTable& table,
                        const std::function<bool()>& stopped, std::string* error)
{
    if (!openStandardInput(error) || !makePrivateFolder(folder_, error))
        return false;
    // A name with no ending of the table first, so that the content alone tells the kind.
    const std::filesystem::path unnamed = folder_ / "input";
    path_ = pathToUtf8(unnamed);
    const auto keepFailed = [&] {
        *error = std::string(kStandardInputName) + " could not be kept in " + path_ + ": " + *error;
        return false;
    };
    OutputFile file;
    if (!file.open(unnamed, OutputFile::Mode::Exclusive, error))
        return keepFailed();
    std::string block;
    do {
        if (!readBlock(block, error))
            return false;
        if (!file.write(block, error))
            return keepFailed();
    } while (!block.empty() && !stopped());
    if (!file.close(error))
        return keepFailed();
    std::string ending = format.empty() ? std::string() : dottedEnding(asciiLowered(format));
    if (const SourceKind* kind = format.empty() ? chooseSourceKind(path_, table).kind : nullptr)
        ending = dottedEnding(kind->endings.front());
    if (ending.empty())
        return true;
    const std::filesystem::path named = folder_ / pathFromUtf8(stem + ending);
    std::error_code ec;
    std::filesystem::rename(unnamed, named, ec);
    if (ec) {
        *error = std::string(kStandardInputName) + " could not be named " + pathToUtf8(named) + ": " + ec.message();
        return false;
    }
    path_ = pathToUtf8(named);
    return true;
}

}  // namespace leafmill::cli
