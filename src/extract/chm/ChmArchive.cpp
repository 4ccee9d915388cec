#include "extract/chm/ChmArchive.h"

#include "extract/chm/ChmDirectory.h"
#include "extract/common/ByteOrder.h"
#include "extract/package/PackageError.h"
#include "text/AsciiCase.h"

#include <chm_lib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#ifdef __linux__
#include <sys/mman.h>
#endif
#ifndef _WIN32
#include <cstdlib>
#include <unistd.h>
#endif

namespace leafmill::extract::chm {

using package::PackageError;

namespace {

constexpr std::uint64_t kMegabyte = 1024 * 1024;
constexpr std::uint64_t kBaseBudget = 256 * kMegabyte;
constexpr std::uint64_t kBudgetPerByte = 10;

int collect(chmFile*, chmUnitInfo* unit, void* context)
{
    static_cast<std::vector<std::string>*>(context)->emplace_back(unit->path);
    return CHM_ENUMERATOR_CONTINUE;
}

}  // namespace

// The bytes under a name the library can open: an anonymous file in memory
// on Linux, else a temporary file only this process may open, removed again.
class ChmArchive::Copy {
public:
    explicit Copy(std::string_view bytes)
    {
#if defined(__linux__)
        fd_ = memfd_create("leafmill-chm", MFD_CLOEXEC);
        if (fd_ >= 0 && writeAll(bytes)) {
            path_ = "/proc/self/fd/" + std::to_string(fd_);
            return;
        }
#elif !defined(_WIN32)
        std::string name = (std::filesystem::temp_directory_path() / "leafmill-XXXXXX").string();
        fd_ = mkstemp(name.data());
        temporary_ = fd_ >= 0;
        if (temporary_ && writeAll(bytes)) {
            path_ = name;
            return;
        }
#else
        std::random_device random;
        path_ = (std::filesystem::temp_directory_path()
                 / ("leafmill-" + std::to_string(random()) + std::to_string(random()) + ".chm"))
                    .string();
        std::ofstream file(path_, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        temporary_ = true;
        if (file)
            return;
#endif
        throw PackageError("the help book could not be copied to a temporary file");
    }

    ~Copy()
    {
#ifndef _WIN32
        if (fd_ >= 0)
            close(fd_);
#endif
        if (temporary_) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }

    const std::string& path() const
    {
        return path_;
    }

private:
#ifndef _WIN32
    bool writeAll(std::string_view bytes)
    {
        while (!bytes.empty()) {
            const ssize_t written = write(fd_, bytes.data(), bytes.size());
            if (written <= 0)
                return false;
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
        return true;
    }
    int fd_ = -1;
#endif
    std::string path_;
    bool temporary_ = false;
};

ChmArchive::ChmArchive(std::string_view bytes)
    : budget_(kBaseBudget + kBudgetPerByte * bytes.size())
{
    if (!bytes.starts_with("ITSF"))
        throw PackageError("the file is no compiled help book (CHM)");
    if (!chmDirectoryUsable(bytes))
        throw PackageError("the help book is damaged: its directory or its compression settings cannot be used");
    copy_ = std::make_unique<Copy>(bytes);
    chm_ = chm_open(copy_->path().c_str());
    if (!chm_)
        throw PackageError("the help book is damaged: its directory cannot be read");
    chm_enumerate(chm_, CHM_ENUMERATE_NORMAL | CHM_ENUMERATE_FILES, collect, &files_);
    readSystem();
}

ChmArchive::~ChmArchive()
{
    if (chm_)
        chm_close(chm_);
}

std::optional<std::string> ChmArchive::read(std::string_view path)
{
    chmUnitInfo unit;
    if (chm_resolve_object(chm_, std::string(path).c_str(), &unit) != CHM_RESOLVE_SUCCESS) {
        // Help compilers store names as written; links often differ in case.
        const std::string lowered = asciiLowered(path);
        const auto match
            = std::ranges::find_if(files_, [&](const std::string& f) { return asciiLowered(f) == lowered; });
        if (match == files_.end() || chm_resolve_object(chm_, match->c_str(), &unit) != CHM_RESOLVE_SUCCESS)
            return std::nullopt;
    }
    if (unit.length > budget_)
        throw PackageError("the help book's file " + std::string(path)
                           + " would unpack to more than the book's memory budget");
    budget_ -= unit.length;
    std::string bytes(static_cast<std::size_t>(unit.length), '\0');
    const LONGINT64 got = chm_retrieve_object(chm_, &unit, reinterpret_cast<unsigned char*>(bytes.data()), 0,
                                              static_cast<LONGINT64>(unit.length));
    if (got < 0 || static_cast<LONGUINT64>(got) != unit.length)
        return std::nullopt;
    return bytes;
}

// #SYSTEM: a version, then records of a 16-bit code, a 16-bit length and
// their data. Code 0 names the contents file, 1 the index, 4 starts with the locale.
void ChmArchive::readSystem()
{
    const std::optional<std::string> system = read("/#SYSTEM");
    if (!system)
        return;
    const std::string_view s = *system;
    for (std::size_t at = 4; at + 4 <= s.size();) {
        const std::uint32_t code = littleEndian(s, at, 2), length = littleEndian(s, at + 2, 2);
        at += 4;
        if (at + length > s.size())
            break;
        const std::string_view data = s.substr(at, length);
        const auto name = [&] { return "/" + std::string(data.substr(0, data.find('\0'))); };
        if (code == 0 && !data.empty())
            contents_ = name();
        else if (code == 1 && !data.empty())
            index_ = name();
        else if (code == 4 && length >= 4)
            locale_ = littleEndian(data, 0, 4);
        at += length;
    }
}

}  // namespace leafmill::extract::chm
