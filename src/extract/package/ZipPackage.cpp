#include "extract/package/ZipPackage.h"

#include "extract/package/PackageError.h"

#include <zip.h>

#include <algorithm>
#include <string>

namespace leafmill::extract::package {

namespace {

constexpr std::uint64_t kMegabyte = 1024 * 1024;
constexpr std::uint64_t kInflationFactor = 64;
constexpr std::uint64_t kSmallestBudget = 16 * kMegabyte;
constexpr std::uint64_t kLargestBudget = 1024 * kMegabyte;
constexpr std::size_t kChunk = 64 * 1024;

std::string zipErrorText(int code)
{
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

std::string megabytes(std::uint64_t bytes)
{
    return std::to_string(bytes / kMegabyte) + " MB";
}

}  // namespace

bool ZipPackage::hasSignature(std::string_view bytes)
{
    return bytes.substr(0, 4) == std::string_view("PK\x03\x04", 4);
}

ZipPackage::ZipPackage(std::string_view bytes)
    : limit_(std::clamp<std::uint64_t>(bytes.size() * kInflationFactor, kSmallestBudget, kLargestBudget))
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source)
        archive_ = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (!archive_) {
        const std::string reason = zip_error_strerror(&error);
        zip_error_fini(&error);
        if (source)
            zip_source_free(source);
        throw PackageError("the file is no readable zip package (" + reason + ")");
    }
    zip_error_fini(&error);
}

ZipPackage::~ZipPackage()
{
    zip_discard(archive_);
}

std::optional<std::uint64_t> ZipPackage::locate(std::string_view name) const
{
    const std::string key(name);
    zip_int64_t index = zip_name_locate(archive_, key.c_str(), 0);
    if (index < 0)
        index = zip_name_locate(archive_, key.c_str(), ZIP_FL_NOCASE);
    if (index < 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(index);
}

bool ZipPackage::contains(std::string_view name) const
{
    return locate(name).has_value();
}

std::optional<std::string> ZipPackage::read(std::string_view name)
{
    const std::optional<std::uint64_t> index = locate(name);
    if (!index)
        return std::nullopt;
    const std::string part(name);
    zip_file_t* file = zip_fopen_index(archive_, *index, 0);
    if (!file) {
        const int code = zip_error_code_zip(zip_get_error(archive_));
        if (code == ZIP_ER_NOPASSWD || code == ZIP_ER_WRONGPASSWD)
            throw PackageError("the package's part " + part + " is encrypted with a password");
        throw PackageError("the package's part " + part + " cannot be opened (" + zipErrorText(code) + ")");
    }
    std::string out;
    // The size the directory states is only a hint: the inflated bytes are
    // counted as they come.
    zip_stat_t stat;
    if (zip_stat_index(archive_, *index, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE))
        out.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(stat.size, kChunk * 16)));
    char chunk[kChunk];
    for (;;) {
        const zip_int64_t n = zip_fread(file, chunk, sizeof chunk);
        if (n < 0) {
            const std::string reason = zip_file_strerror(file);
            zip_fclose(file);
            throw PackageError("the package's part " + part + " is damaged (" + reason + ")");
        }
        if (n == 0)
            break;
        if (static_cast<std::uint64_t>(n) > limit_ - inflated_) {
            zip_fclose(file);
            throw PackageError("the package's part " + part + " inflates to more than the " + megabytes(limit_)
                               + " a package of this size may hold (a zip bomb?)");
        }
        inflated_ += static_cast<std::uint64_t>(n);
        out.append(chunk, static_cast<std::size_t>(n));
    }
    zip_fclose(file);
    return out;
}

}  // namespace leafmill::extract::package
