#include "io/InputFile.h"

#include "io/FileAccess.h"

#include <cerrno>
#include <system_error>

namespace leafmill {

InputFile::~InputFile()
{
    if (file_)
        std::fclose(file_);
}

bool InputFile::open(const std::filesystem::path& path, std::string* error)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status)) {
        *error = systemReason(ENOENT);
        return false;
    }
    if (!std::filesystem::is_regular_file(status)) {
        *error = "it is not a file";
        return false;
    }
#ifdef _WIN32
    file_ = _wfopen(path.c_str(), L"rb");
#else
    file_ = std::fopen(path.c_str(), "rb");
#endif
    if (!file_) {
        *error = systemReason(errno);
        return false;
    }
    return true;
}

bool InputFile::read(std::string& block, std::size_t capacity, std::string* error)
{
    block.resize(capacity);
    const std::size_t n = std::fread(block.data(), 1, capacity, file_);
    block.resize(n);
    if (n < capacity && std::ferror(file_)) {
        *error = systemReason(errno);
        return false;
    }
    return true;
}

}  // namespace leafmill
