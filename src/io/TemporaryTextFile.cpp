#include "io/TemporaryTextFile.h"

#include "io/FileAccess.h"
#include "io/OutputFile.h"

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <time.h>
#endif

namespace leafmill {

namespace {

constexpr int kAttempts = 100;
#ifdef _WIN32
constexpr const char* kLastResort = ".";
#else
constexpr const char* kLastResort = "/tmp";
#endif

// Milliseconds since the system started, as a 32-bit signed number.
int32_t tickCount()
{
#ifdef _WIN32
    return static_cast<int32_t>(GetTickCount());
#else
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<int32_t>(static_cast<uint32_t>(ms));
#endif
}

std::tm localDate()
{
    const std::time_t now = std::time(nullptr);
    std::tm date {};
#ifdef _WIN32
    localtime_s(&date, &now);
#else
    localtime_r(&now, &date);
#endif
    return date;
}

bool endsWithSeparator(const std::string& dir)
{
    if (dir.empty())
        return false;
#ifdef _WIN32
    return dir.back() == '\\' || dir.back() == '/';
#else
    return dir.back() == '/';
#endif
}

}  // namespace

std::string GetTempDir()
{
    const char* temp = std::getenv("TEMP");
    std::string dir = temp ? temp : "";
    if (dir.empty()) {
        std::error_code ec;
        dir = pathToUtf8(std::filesystem::temp_directory_path(ec));
        // The library gives up when TEMP or TMPDIR is set but empty; never fall
        // back to the root folder.
        if (ec || dir.empty())
            dir = kLastResort;
    }
    if (!endsWithSeparator(dir))
        dir += static_cast<char>(std::filesystem::path::preferred_separator);
    return dir;
}

std::string temporaryFileName(const std::string& dir, std::string_view kindWord, int32_t number)
{
    const std::tm date = localDate();
    return dir + std::to_string(date.tm_year + 1900) + std::to_string(date.tm_mon + 1) + std::to_string(date.tm_mday)
        + std::to_string(tickCount()) + std::string(kindWord) + std::to_string(number) + ".txt";
}

TemporaryTextFile::~TemporaryTextFile()
{
    if (!path_.empty()) {
        std::error_code ec;
        std::filesystem::remove(pathFromUtf8(path_), ec);
    }
}

bool TemporaryTextFile::create(std::string_view kindWord, std::string_view bytes, std::string* error)
{
    return open(kindWord, error) && append(bytes, error) && close(error);
}

bool TemporaryTextFile::open(std::string_view kindWord, std::string* error)
{
    const std::string dir = GetTempDir();
    std::uniform_int_distribution<int32_t> number(0, 999);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::string name = temporaryFileName(dir, kindWord, number(random_));
        bool taken = false;
        if (!file_.open(pathFromUtf8(name), OutputFile::Mode::Exclusive, error, &taken)) {
            if (taken)
                continue;
            *error = "the temporary file " + name + " could not be created: " + *error;
            return false;
        }
        path_ = name;
        return true;
    }
    *error = "no free temporary file name in " + dir;
    return false;
}

bool TemporaryTextFile::append(std::string_view bytes, std::string* error)
{
    if (file_.write(bytes, error))
        return true;
    *error = "the temporary file " + path_ + " could not be written: " + *error;
    return false;
}

bool TemporaryTextFile::close(std::string* error)
{
    if (file_.close(error))
        return true;
    *error = "the temporary file " + path_ + " could not be written: " + *error;
    return false;
}

}  // namespace leafmill
