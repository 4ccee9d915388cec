#include "extract/djvu/PageInfo.h"

#include "extract/common/ByteOrder.h"

#include <cstdint>

namespace leafmill::extract::djvu {

namespace {

// "FORM", its size, its kind: the header of a document or of one of its files.
constexpr std::size_t kFormHeader = 12;
constexpr std::size_t kChunkHeader = 8;
constexpr int kDefaultDpi = 300;

}  // namespace

std::vector<std::size_t> bundledFileOffsets(std::string_view bytes)
{
    // "AT&T", the document's FORM:DJVM, then its directory: flags (the high
    // bit for a bundled document), the file count and each file's offset.
    constexpr std::size_t directory = 4 + kFormHeader;
    if (bytes.size() < directory + kChunkHeader + 3 || bytes.substr(4, kFormHeader).substr(8) != "DJVM"
        || bytes.substr(directory, 4) != "DIRM")
        return {};
    const std::string_view chunk = bytes.substr(directory + kChunkHeader, bigEndian(bytes, directory + 4, 4));
    if (chunk.size() < 3 || (static_cast<unsigned char>(chunk[0]) & 0x80) == 0)
        return {};
    const std::size_t count = bigEndian(chunk, 1, 2);
    if (chunk.size() < 3 + 4 * count)
        return {};
    std::vector<std::size_t> offsets(count);
    for (std::size_t k = 0; k < count; ++k)
        offsets[k] = bigEndian(chunk, 3 + 4 * k, 4);
    return offsets;
}

std::optional<PageSize> pageSizeAt(std::string_view bytes, std::size_t offset)
{
    if (offset > bytes.size() || bytes.size() - offset < kFormHeader + kChunkHeader + 5)
        return std::nullopt;
    const std::string_view form = bytes.substr(offset);
    if (!form.starts_with("FORM") || form.substr(8, 4) != "DJVU" || form.substr(kFormHeader, 4) != "INFO")
        return std::nullopt;
    // Width and height (big-endian), two version bytes, the resolution
    // (little-endian, its high byte 0xFF where a page has none); older pages
    // stop after the first version byte.
    const std::string_view info = form.substr(kFormHeader + kChunkHeader, bigEndian(form, kFormHeader + 4, 4));
    if (info.size() < 5)
        return std::nullopt;
    PageSize page {static_cast<int>(bigEndian(info, 2, 2)), kDefaultDpi};
    if (info.size() >= 8 && static_cast<unsigned char>(info[7]) != 0xFF)
        page.dpi = static_cast<unsigned char>(info[6]) | static_cast<unsigned char>(info[7]) << 8;
    if (page.dpi < 25 || page.dpi > 6000)
        page.dpi = kDefaultDpi;
    return page;
}

}  // namespace leafmill::extract::djvu
