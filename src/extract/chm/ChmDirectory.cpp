#include "extract/chm/ChmDirectory.h"

#include "text/AsciiCase.h"

#include <bit>
#include <cstdint>
#include <optional>

namespace leafmill::extract::chm {

namespace {

constexpr std::string_view kControlData = "::dataspace/storage/mscompressed/controldata";
constexpr std::string_view kResetTable
    = "::dataspace/storage/mscompressed/transform/{7fc28940-9d31-11d0-9b27-00a0c91e9c7c}/instancedata/resettable";
constexpr std::size_t kResetTableHeader = 0x28;
constexpr std::uint64_t kMaxWindow = 1 << 21;
constexpr std::size_t kMinControlData = 0x18;
constexpr std::uint64_t kMaxChunks = 1 << 20;
constexpr std::uint64_t kMaxPath = 512;

std::optional<std::uint64_t> little(std::string_view bytes, std::uint64_t at, int size)
{
    if (at > bytes.size() || bytes.size() - at < static_cast<std::uint64_t>(size))
        return std::nullopt;
    std::uint64_t value = 0;
    for (int k = size - 1; k >= 0; --k)
        value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::uint64_t>(k)]);
    return value;
}

// The directory's variable-length numbers: seven bits a byte, high first, of
// any length (the library reads on while the high bit is set).
std::optional<std::uint64_t> encint(std::string_view chunk, std::size_t& at)
{
    std::uint64_t value = 0;
    while (at < chunk.size()) {
        const auto byte = static_cast<unsigned char>(chunk[at++]);
        value = value << 7 | (byte & 0x7F);
        if (!(byte & 0x80))
            return value;
    }
    return std::nullopt;
}

bool settingsUsable(std::string_view book, std::uint64_t start, std::uint64_t length)
{
    if (length < kMinControlData || start > book.size() || book.size() - start < kMinControlData)
        return false;
    if (book.substr(start + 4, 4) != "LZXC")
        return false;
    // Counted as the library counts, in 32 bits: version 2 gives them in 32 KB units.
    const std::uint32_t unit = *little(book, start + 8, 4) == 2 ? 0x8000 : 1;
    const auto reset = static_cast<std::uint32_t>(*little(book, start + 12, 4) * unit);
    const auto window = static_cast<std::uint32_t>(*little(book, start + 16, 4) * unit);
    const auto windowsPerReset = static_cast<std::uint32_t>(*little(book, start + 20, 4));
    // The decompressor takes windows of 32 KB to 2 MB (the lowest bit set
    // counts) and divides block numbers by the blocks between resets.
    const int bits = std::countr_zero(window);
    return window / 2 != 0 && bits >= 15 && bits <= 21 && reset / (window / 2) * windowsPerReset != 0;
}

// The library divides every position in the compressed content by the
// table's block length and allocates a block's length for each it caches:
// no longer than the largest window.
bool resetTableUsable(std::string_view book, std::uint64_t start, std::uint64_t length)
{
    if (length < kResetTableHeader)
        return true;
    const std::uint64_t blockLength = little(book, start + 0x20, 8).value_or(0);
    return blockLength != 0 && blockLength <= kMaxWindow;
}

}  // namespace

bool chmDirectoryUsable(std::string_view book)
{
    const auto headerLength = little(book, 8, 4);
    const auto dirOffset = little(book, 0x48, 8), dirLength = little(book, 0x50, 8);
    if (!headerLength || !dirOffset || !dirLength || *dirOffset > book.size())
        return false;
    // Version 3 headers name where the content starts; version 2 ones put it after the directory.
    const auto dataOffset = *headerLength >= 0x60 ? little(book, 0x58, 8) : *dirOffset + *dirLength;
    const auto itspLength = little(book, *dirOffset + 8, 4), blockLength = little(book, *dirOffset + 0x10, 4);
    // The library allocates a chunk's length for every lookup: no longer than the book.
    if (!dataOffset || !itspLength || !blockLength || *blockLength < 0x14 || *blockLength > book.size()
        || book.substr(*dirOffset, 4) != "ITSP")
        return false;
    std::uint64_t n = 0;
    for (std::uint64_t chunk = *dirOffset + *itspLength; chunk < book.size(); chunk += *blockLength, ++n) {
        if (n == kMaxChunks)
            return false;
        const std::string_view block = book.substr(chunk, *blockLength);
        const bool listing = block.starts_with("PMGL");
        // The library never uses a chunk it cannot read whole.
        if ((!listing && !block.starts_with("PMGI")) || block.size() < *blockLength)
            continue;
        const std::uint64_t freeSpace = little(block, 4, 4).value_or(block.size());
        const std::size_t entriesEnd = block.size() - std::min<std::uint64_t>(freeSpace, block.size());
        // The library follows listing chunks to the next one and index
        // chunks down to their children, unchecked: a way back would loop.
        const std::int64_t next = static_cast<std::int32_t>(little(block, 0x10, 4).value_or(0xFFFFFFFF));
        if (listing && next != -1 && next <= static_cast<std::int64_t>(n))
            return false;
        // An entry that starts before the free space is read whole, also
        // past its end: one running off the chunk would be read beyond it.
        for (std::size_t at = listing ? 0x14 : 8; at < entriesEnd;) {
            const auto nameLength = encint(block, at);
            if (nameLength && *nameLength > kMaxPath)
                break;
            if (!nameLength || *nameLength > block.size() - at)
                return false;
            // Names are compared as C strings, in any letter case.
            const std::string_view stored = block.substr(at, *nameLength);
            const std::string lowered = asciiLowered(stored.substr(0, stored.find('\0')));
            at += *nameLength;
            if (!listing) {
                const auto child = encint(block, at);
                if (!child || *child >= n)
                    return false;
                continue;
            }
            const auto section = encint(block, at), offset = encint(block, at), length = encint(block, at);
            if (!section || !offset || !length)
                return false;
            if (lowered != kControlData && lowered != kResetTable)
                continue;
            // The library reads these settings while it opens the book,
            // before it could decompress anything: it reads section 0
            // directly, leaves compression off for section 1 and would
            // decompress any other with nothing set up.
            const auto space = static_cast<std::uint32_t>(*section);
            if (space > 1)
                return false;
            const bool usable = space == 1
                || (lowered == kControlData ? settingsUsable(book, *dataOffset + *offset, *length)
                                            : resetTableUsable(book, *dataOffset + *offset, *length));
            if (!usable)
                return false;
        }
    }
    return true;
}

}  // namespace leafmill::extract::chm
