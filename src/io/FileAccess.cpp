#include "io/FileAccess.h"

#include "io/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <random>
#include <sys/stat.h>
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace leafmill {

namespace fs = std::filesystem;

fs::path pathFromUtf8(std::string_view utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string pathToUtf8(const fs::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string systemReason(int errorNumber)
{
    return std::generic_category().message(errorNumber);
}

ReadResult readWholeFile(const fs::path& file, std::string& bytes, std::string* reason)
{
    InputFile in;
    bool missing = false;
    if (!in.open(file, reason, &missing))
        return missing ? ReadResult::Missing : ReadResult::Failed;
    return in.readAll(bytes, reason) ? ReadResult::Ok : ReadResult::Failed;
}

#ifdef _WIN32

bool replaceFile(const fs::path& target, std::string_view bytes, std::string* error)
{
    std::random_device random;
    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = target;
        temporary += L"." + std::to_wstring(random()) + L".tmp";
        fd = _wopen(temporary.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        *error = "cannot create a temporary file beside " + pathToUtf8(target) + ": " + systemReason(errno);
        return false;
    }
    auto fail = [&](const std::string& why) {
        if (fd >= 0)
            _close(fd);
        std::error_code ignored;
        fs::remove(temporary, ignored);
        *error = why;
        return false;
    };
    for (std::size_t done = 0; done < bytes.size();) {
        const auto chunk = static_cast<unsigned>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        const int n = _write(fd, bytes.data() + done, chunk);
        if (n <= 0)
            return fail("cannot write " + pathToUtf8(temporary) + ": " + systemReason(errno));
        done += static_cast<std::size_t>(n);
    }
    if (_commit(fd) != 0)
        return fail("cannot flush " + pathToUtf8(temporary) + ": " + systemReason(errno));
    const int closed = _close(fd);
    fd = -1;
    if (closed != 0)
        return fail("cannot write " + pathToUtf8(temporary) + ": " + systemReason(errno));
    std::error_code ec;
    fs::file_status old = fs::status(target, ec);
    if (!ec && fs::exists(old))
        fs::permissions(temporary, old.permissions(), ec);
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return fail("cannot replace " + pathToUtf8(target) + ": "
                    + std::system_category().message(static_cast<int>(GetLastError())));
    return true;
}

#else

bool replaceFile(const fs::path& target, std::string_view bytes, std::string* error)
{
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    std::string temporary = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        *error = "cannot create a temporary file in " + pathToUtf8(folder) + ": " + systemReason(errno);
        return false;
    }
    auto fail = [&](const std::string& what) {
        const int reason = errno;
        close(fd);
        unlink(temporary.c_str());
        *error = what + ": " + systemReason(reason);
        return false;
    };

    // The new file gets the old one's permissions, or the usual ones of a
    // new file (mkstemp makes it private to the owner).
    struct stat old { };
    mode_t mode = 0;
    if (stat(target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (fchmod(fd, mode) != 0)
        return fail("cannot set the permissions of " + temporary);

    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail("cannot write " + temporary);
        done += static_cast<std::size_t>(n);
    }
    if (fsync(fd) != 0)
        return fail("cannot flush " + temporary);
    if (close(fd) != 0) {
        const int reason = errno;
        unlink(temporary.c_str());
        *error = "cannot write " + temporary + ": " + systemReason(reason);
        return false;
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        const int reason = errno;
        unlink(temporary.c_str());
        *error = "cannot replace " + pathToUtf8(target) + ": " + systemReason(reason);
        return false;
    }
    // Make the rename itself durable; the new file is complete either way.
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

#endif

// The rename that replaces a file ignores the file's own permissions, so a
// file the user made read-only is refused here.
bool renameToFreeName(const fs::path& from, const fs::path& to, std::string* error)
{
#if defined(__linux__)
    // One call that cannot race with another taking the name.
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) {
        *error = pathToUtf8(to) + ": " + systemReason(errno);
        return false;
    }
#endif
    // Where the file system cannot refuse a taken name itself.
    std::error_code ec;
    if (fs::symlink_status(to, ec).type() != fs::file_type::not_found) {
        *error = pathToUtf8(to) + ": " + systemReason(EEXIST);
        return false;
    }
    fs::rename(from, to, ec);
    if (ec)
        *error = pathToUtf8(to) + ": " + ec.message();
    return !ec;
}

bool mayReplace(const fs::path& target, std::string* error)
{
    std::error_code ec;
    const fs::file_status status = fs::status(target, ec);
    if (ec || status.type() != fs::file_type::regular)
        return true;
    constexpr fs::perms writable = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    bool denied = (status.permissions() & writable) == fs::perms::none;
#ifndef _WIN32
    denied = denied || access(target.c_str(), W_OK) != 0;
#endif
    if (denied)
        *error = "cannot replace " + pathToUtf8(target) + ": the file is read-only";
    return !denied;
}

}  // namespace leafmill
