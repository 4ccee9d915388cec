#include "extract/package/ZipPackage.h"

#include "extract/package/FirstOfEach.h"
#include "extract/package/PackageError.h"

#include <minizip/unzip.h>

#include <algorithm>
#include <numeric>
#include <string>

namespace leafmill::extract::package {

namespace {

constexpr std::uint64_t kMegabyte = 1024 * 1024;
constexpr std::uint64_t kBaseBudget = 256 * kMegabyte;
constexpr std::uint64_t kBudgetPerByte = 10;
// How much of a part's compressed bytes a stream passes before giving them back.
constexpr std::uint64_t kReleaseStep = 4 * kMegabyte;
// What the XML parser's tree takes: a node (64 bytes on 64-bit systems) for
// each element and each text between tags, whose count '<' bounds, and an
// attribute (40 bytes) for each '='.
constexpr std::uint64_t kTreeBytesPerTag = 2 * 64;
constexpr std::uint64_t kTreeBytesPerAttribute = 40;
constexpr unsigned kChunk = 64 * 1024;
constexpr uLong kEncryptedFlag = 1;

std::string megabytes(std::uint64_t bytes)
{
    return std::to_string(bytes / kMegabyte) + " MB";
}

std::string unzipErrorText(int code)
{
    switch (code) {
    case UNZ_BADZIPFILE:
        return "the zip directory is damaged or missing";
    case UNZ_CRCERROR:
        return "its checksum does not match";
    case UNZ_ERRNO:
        return "a read failed";
    default:
        return "zip error " + std::to_string(code);
    }
}

std::uint64_t treeBytes(std::string_view xml)
{
    const auto count = [&](char c) { return static_cast<std::uint64_t>(std::count(xml.begin(), xml.end(), c)); };
    return count('<') * kTreeBytesPerTag + count('=') * kTreeBytesPerAttribute;
}

char lowerAsciiChar(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool lowerLess(std::string_view a, std::string_view b)
{
    return std::ranges::lexicographical_compare(a, b, {}, lowerAsciiChar, lowerAsciiChar);
}

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        c = lowerAsciiChar(c);
    return text;
}

// The package's bytes as the file the zip reader asks for: reading, seeking
// and telling within memory, never writing.
struct MemoryFile {
    std::string_view bytes;
    std::uint64_t position = 0;
};

voidpf openMemory(voidpf opaque, const void*, int)
{
    return opaque;
}

uLong readMemory(voidpf, voidpf stream, void* buffer, uLong size)
{
    auto& file = *static_cast<MemoryFile*>(stream);
    const std::uint64_t n = std::min<std::uint64_t>(size, file.bytes.size() - file.position);
    std::copy_n(file.bytes.data() + file.position, n, static_cast<char*>(buffer));
    file.position += n;
    return static_cast<uLong>(n);
}

uLong writeNothing(voidpf, voidpf, const void*, uLong)
{
    return 0;
}

ZPOS64_T tellMemory(voidpf, voidpf stream)
{
    return static_cast<MemoryFile*>(stream)->position;
}

long seekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin)
{
    auto& file = *static_cast<MemoryFile*>(stream);
    std::uint64_t base = 0;
    if (origin == ZLIB_FILEFUNC_SEEK_CUR)
        base = file.position;
    else if (origin == ZLIB_FILEFUNC_SEEK_END)
        base = file.bytes.size();
    if (offset > file.bytes.size() - std::min<std::uint64_t>(base, file.bytes.size()))
        return -1;
    file.position = base + offset;
    return 0;
}

int closeMemory(voidpf, voidpf)
{
    return 0;
}
int noError(voidpf, voidpf)
{
    return 0;
}

}  // namespace

// The open archive and where each part's directory entry is, found by exact
// name and by name in small letters through two sorted indexes: walking the
// directory for every part would make reading many parts quadratic, and
// hashed maps of the names took some 300 bytes a part. A stream has an
// archive of its own over the same bytes, so that reading it leaves the
// package's free.
struct ZipPackage::Archive {
    MemoryFile file;
    unzFile zip = nullptr;
    std::vector<std::string> names;  // first of each name, in directory order
    std::vector<unz64_file_pos> positions;  // of names[i]
    std::vector<std::uint32_t> byName, byLowerName;  // into names, sorted

    ~Archive()
    {
        if (zip)
            unzClose(zip);
    }

    // Once the directory is read: keeps the first entry of a name repeated
    // in it, and sorts the indexes. Among names alike in small letters the
    // first in the directory is found.
    void index()
    {
        keepFirstOfEach(names, positions);
        byName.resize(names.size());
        std::iota(byName.begin(), byName.end(), 0U);
        byLowerName = byName;
        std::ranges::sort(byName, [&](std::uint32_t a, std::uint32_t b) { return names[a] < names[b]; });
        std::ranges::stable_sort(byLowerName,
                                 [&](std::uint32_t a, std::uint32_t b) { return lowerLess(names[a], names[b]); });
        names.shrink_to_fit();
        positions.shrink_to_fit();
    }

    const unz64_file_pos* find(std::string_view name) const
    {
        const auto exact
            = std::ranges::lower_bound(byName, name, {}, [&](std::uint32_t i) { return std::string_view(names[i]); });
        if (exact != byName.end() && names[*exact] == name)
            return &positions[*exact];
        const std::string lower = lowerAscii(std::string(name));
        const auto folded = std::ranges::lower_bound(byLowerName, std::string_view(lower), lowerLess,
                                                     [&](std::uint32_t i) { return std::string_view(names[i]); });
        if (folded != byLowerName.end() && lowerAscii(names[*folded]) == lower)
            return &positions[*folded];
        return nullptr;
    }
};

bool ZipPackage::hasSignature(std::string_view bytes)
{
    return bytes.substr(0, 4) == std::string_view("PK\x03\x04", 4);
}

std::unique_ptr<ZipPackage::Archive> ZipPackage::openArchive(std::string_view bytes)
{
    auto archive = std::make_unique<Archive>();
    archive->file.bytes = bytes;
    zlib_filefunc64_def functions {&openMemory, &readMemory,  &writeNothing, &tellMemory,
                                   &seekMemory, &closeMemory, &noError,      &archive->file};
    archive->zip = unzOpen2_64(&archive->file, &functions);
    if (!archive->zip)
        throw PackageError("the file is no readable zip package (" + unzipErrorText(UNZ_BADZIPFILE) + ")");
    return archive;
}

ZipPackage::ZipPackage(std::string_view bytes, std::function<void(std::string_view)> release)
    : bytes_(bytes)
    , archive_(openArchive(bytes))
    , release_(std::move(release))
    , limit_(kBaseBudget + kBudgetPerByte * bytes.size())
{
    std::string name(0xFFFF, '\0');
    int status = unzGoToFirstFile(archive_->zip);
    for (; status == UNZ_OK; status = unzGoToNextFile(archive_->zip)) {
        unz_file_info64 info;
        unz64_file_pos position;
        if (unzGetCurrentFileInfo64(archive_->zip, &info, name.data(), static_cast<uLong>(name.size()), nullptr, 0,
                                    nullptr, 0)
                != UNZ_OK
            || unzGetFilePos64(archive_->zip, &position) != UNZ_OK)
            break;
        archive_->names.emplace_back(name.data(), std::min<std::size_t>(info.size_filename, name.size()));
        archive_->positions.push_back(position);
    }
    archive_->index();
    if (status != UNZ_END_OF_LIST_OF_FILE && status != UNZ_OK)
        throw PackageError("the file is no readable zip package (" + unzipErrorText(status) + ")");
}

ZipPackage::~ZipPackage() = default;

bool ZipPackage::contains(std::string_view name) const
{
    return archive_->find(name) != nullptr;
}

const std::vector<std::string>& ZipPackage::names() const
{
    return archive_->names;
}

std::optional<std::string> ZipPackage::shallowestEndingIn(std::string_view ending) const
{
    const std::string lowerEnding = lowerAscii(std::string(ending));
    const std::string* shallowest = nullptr;
    const auto depth = [](const std::string& part) { return std::ranges::count(part, '/'); };
    for (const std::string& part : archive_->names) {
        if (part.size() >= ending.size() && lowerAscii(part.substr(part.size() - ending.size())) == lowerEnding
            && (!shallowest || depth(part) < depth(*shallowest)))
            shallowest = &part;
    }
    return shallowest ? std::optional<std::string>(*shallowest) : std::nullopt;
}

std::uint64_t ZipPackage::openPart(Archive& archive, std::string_view name, const std::string& part)
{
    unzFile zip = archive.zip;
    unz_file_info64 info;
    int status = unzGoToFilePos64(zip, archive_->find(name));
    if (status == UNZ_OK)
        status = unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0);
    if (status == UNZ_OK && (info.flag & kEncryptedFlag) != 0)
        throw PackageError("the package's part " + part + " is encrypted with a password");
    if (status == UNZ_OK && info.compression_method != 0 && info.compression_method != Z_DEFLATED)
        throw PackageError("the package's part " + part + " cannot be opened (its compression method "
                           + std::to_string(info.compression_method) + " is not supported)");
    if (status == UNZ_OK)
        status = unzOpenCurrentFile(zip);
    if (status != UNZ_OK)
        throw PackageError("the package's part " + part + " cannot be opened (" + unzipErrorText(status) + ")");
    return info.uncompressed_size;
}

// The inflated bytes are counted as they come (the size the directory states
// is only a hint), and so is the tree the part will be parsed into.
std::size_t ZipPackage::inflate(Archive& archive, const std::string& part, char* buffer, std::size_t size,
                                std::uint64_t& partSize, std::uint64_t& partTreeBytes)
{
    const int n = unzReadCurrentFile(archive.zip, buffer, static_cast<unsigned>(std::min<std::size_t>(size, kChunk)));
    if (n < 0) {
        unzCloseCurrentFile(archive.zip);
        throw PackageError("the package's part " + part + " is damaged (" + unzipErrorText(n) + ")");
    }
    if (static_cast<std::uint64_t>(n) > limit_ - inflated_) {
        unzCloseCurrentFile(archive.zip);
        throw PackageError("the package's part " + part + " inflates to more than the " + megabytes(limit_)
                           + " a package of this size may hold (a zip bomb?)");
    }
    inflated_ += static_cast<std::uint64_t>(n);
    partSize += static_cast<std::uint64_t>(n);
    partTreeBytes += treeBytes(std::string_view(buffer, static_cast<std::size_t>(n)));
    if (partTreeBytes > limit_ - partSize) {
        unzCloseCurrentFile(archive.zip);
        throw PackageError("the package's part " + part + " holds more elements than the " + megabytes(limit_)
                           + " a package of this size may take to read");
    }
    return static_cast<std::size_t>(n);
}

void ZipPackage::closePart(Archive& archive, const std::string& part)
{
    const int status = unzCloseCurrentFile(archive.zip);
    if (status != UNZ_OK)
        throw PackageError("the package's part " + part + " is damaged (" + unzipErrorText(status) + ")");
}

std::optional<std::string> ZipPackage::read(std::string_view name)
{
    if (!contains(name))
        return std::nullopt;
    const std::string part(name);
    const std::uint64_t stated = openPart(*archive_, name, part);
    unz_file_info64 info {};
    unzGetCurrentFileInfo64(archive_->zip, &info, nullptr, 0, nullptr, 0, nullptr, 0);
    const std::string_view stored
        = bytes_.substr(std::min<std::uint64_t>(unzGetCurrentFileZStreamPos64(archive_->zip), bytes_.size()),
                        static_cast<std::size_t>(std::min<std::uint64_t>(info.compressed_size, bytes_.size())));
    std::string out;
    out.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(stated, kChunk * 16)));
    std::uint64_t size = 0, tree = 0;
    char chunk[kChunk];
    while (const std::size_t n = inflate(*archive_, part, chunk, kChunk, size, tree))
        out.append(chunk, n);
    closePart(*archive_, part);
    // A part is read once: its compressed bytes need not stay in memory.
    if (release_)
        release_(stored);
    return out;
}

std::unique_ptr<ZipPackage::Stream> ZipPackage::stream(std::string_view name)
{
    if (!contains(name))
        return nullptr;
    return std::unique_ptr<Stream>(new Stream(*this, std::string(name)));
}

ZipPackage::Stream::Stream(ZipPackage& package, std::string part)
    : package_(package)
    , part_(std::move(part))
    , archive_(openArchive(package.bytes_))
{
    statedSize_ = package_.openPart(*archive_, part_, part_);
    open_ = true;
}

ZipPackage::Stream::~Stream()
{
    if (open_)
        unzCloseCurrentFile(archive_->zip);
}

std::size_t ZipPackage::Stream::read(char* buffer, std::size_t size)
{
    if (!open_ || size == 0)
        return 0;
    const std::size_t n = package_.inflate(*archive_, part_, buffer, size, size_, treeBytes_);
    // The compressed bytes inflated need not stay in memory either.
    if (package_.release_) {
        const std::uint64_t at
            = std::min<std::uint64_t>(unzGetCurrentFileZStreamPos64(archive_->zip), package_.bytes_.size());
        if (at >= released_ + kReleaseStep || (n == 0 && at > released_)) {
            package_.release_(package_.bytes_.substr(released_, at - released_));
            released_ = at;
        }
    }
    if (n == 0) {
        open_ = false;
        closePart(*archive_, part_);
    }
    return n;
}

}  // namespace leafmill::extract::package
