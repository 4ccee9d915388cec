#include "CompoundFileWriter.h"

#include <algorithm>

namespace leafmill::test {

namespace {

constexpr std::uint32_t kMini = 64;
constexpr std::uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatMark = 0xFFFFFFFD, kDifatMark = 0xFFFFFFFC;

std::uint32_t sectorsFor(std::size_t bytes, std::uint32_t size)
{
    return static_cast<std::uint32_t>((bytes + size - 1) / size);
}

// Appends a chain of `count` entries starting at `first` to a FAT.
void chainInto(std::vector<std::uint32_t>& table, std::uint32_t first, std::uint32_t count)
{
    if (table.size() < first + count)
        table.resize(first + count, kFree);
    for (std::uint32_t i = 0; i < count; ++i)
        table[first + i] = i + 1 < count ? first + i + 1 : kEnd;
}

void padTo(std::string& bytes, std::size_t multiple)
{
    bytes.resize((bytes.size() + multiple - 1) / multiple * multiple, '\0');
}

}  // namespace

void putU16(std::string& bytes, std::size_t pos, std::uint16_t value)
{
    if (bytes.size() < pos + 2)
        bytes.resize(pos + 2, '\0');
    bytes[pos] = char(value & 0xFF);
    bytes[pos + 1] = char(value >> 8);
}

void putU32(std::string& bytes, std::size_t pos, std::uint32_t value)
{
    putU16(bytes, pos, std::uint16_t(value & 0xFFFF));
    putU16(bytes, pos + 2, std::uint16_t(value >> 16));
}

std::string CompoundFileWriter::write(Layout* layoutOut) const
{
    const std::uint32_t kSector = sectorSize();
    Layout layout;
    std::string mini;
    std::vector<std::uint32_t> miniFat;
    std::string data;  // regular sectors of the big streams, then the rest
    std::vector<std::uint32_t> fat;
    for (const auto& [name, bytes] : streams_) {
        const bool small = bytes.size() < 4096;
        std::string& into = small ? mini : data;
        const std::uint32_t unit = small ? kMini : kSector;
        const std::uint32_t first = sectorsFor(into.size(), unit);
        layout.streamStart.push_back(bytes.empty() ? kEnd : first);
        chainInto(small ? miniFat : fat, first, sectorsFor(bytes.size(), unit));
        into += bytes;
        padTo(into, unit);
    }
    const std::uint32_t miniStart = sectorsFor(data.size(), kSector);
    chainInto(fat, miniStart, sectorsFor(mini.size(), kSector));
    data += mini;
    padTo(data, kSector);

    std::string miniFatBytes;
    for (std::size_t i = 0; i < miniFat.size(); ++i)
        putU32(miniFatBytes, 4 * i, miniFat[i]);
    padTo(miniFatBytes, kSector);
    layout.firstMiniFatSector = miniFatBytes.empty() ? kEnd : sectorsFor(data.size(), kSector);
    chainInto(fat, sectorsFor(data.size(), kSector), sectorsFor(miniFatBytes.size(), kSector));
    data += miniFatBytes;

    // Directory: the root, then the streams as a chain of right siblings.
    std::string dir;
    auto entry = [&](std::size_t index, const std::string& name, std::uint8_t type, std::uint32_t right,
                     std::uint32_t child, std::uint32_t start, std::uint32_t size) {
        const std::size_t at = index * 128;
        dir.resize(at + 128, '\0');
        for (std::size_t i = 0; i < name.size() && i < 31; ++i)
            putU16(dir, at + 2 * i, static_cast<unsigned char>(name[i]));
        putU16(dir, at + 0x40, std::uint16_t(2 * (std::min<std::size_t>(name.size(), 31) + 1)));
        dir[at + 0x42] = char(type);
        dir[at + 0x43] = 1;  // black
        putU32(dir, at + 0x44, kFree);
        putU32(dir, at + 0x48, right);
        putU32(dir, at + 0x4C, child);
        putU32(dir, at + 0x74, start);
        putU32(dir, at + 0x78, size);
    };
    entry(0, "Root Entry", 5, kFree, streams_.empty() ? kFree : 1, mini.empty() ? kEnd : miniStart,
          static_cast<std::uint32_t>(mini.size()));
    for (std::size_t i = 0; i < streams_.size(); ++i)
        entry(i + 1, streams_[i].first, 2, i + 1 < streams_.size() ? std::uint32_t(i + 2) : kFree, kFree,
              layout.streamStart[i], static_cast<std::uint32_t>(streams_[i].second.size()));
    padTo(dir, kSector);
    layout.firstDirSector = sectorsFor(data.size(), kSector);
    chainInto(fat, layout.firstDirSector, sectorsFor(dir.size(), kSector));
    data += dir;

    // FAT sectors last, then DIFAT sectors for FAT sectors past the 109 the
    // header names; the FAT must also cover both.
    const std::uint32_t used = sectorsFor(data.size(), kSector);
    const std::uint32_t perDifat = kSector / 4 - 1;
    std::uint32_t fatSectors = 1, difatSectors = 0;
    for (;;) {
        difatSectors = fatSectors > 109 ? (fatSectors - 109 + perDifat - 1) / perDifat : 0;
        if (fatSectors * (kSector / 4) >= used + fatSectors + difatSectors)
            break;
        ++fatSectors;
    }
    layout.firstFatSector = used;
    layout.firstDifatSector = difatSectors ? used + fatSectors : kEnd;
    fat.resize(std::size_t(fatSectors) * (kSector / 4), kFree);
    for (std::uint32_t i = 0; i < fatSectors; ++i)
        fat[used + i] = kFatMark;
    for (std::uint32_t i = 0; i < difatSectors; ++i)
        fat[used + fatSectors + i] = kDifatMark;
    std::string fatBytes;
    for (std::size_t i = 0; i < fat.size(); ++i)
        putU32(fatBytes, 4 * i, fat[i]);
    std::string difatBytes;
    for (std::uint32_t d = 0; d < difatSectors; ++d) {
        for (std::uint32_t i = 0; i < perDifat; ++i) {
            const std::uint32_t index = 109 + d * perDifat + i;
            putU32(difatBytes, difatBytes.size(), index < fatSectors ? used + index : kFree);
        }
        putU32(difatBytes, difatBytes.size(), d + 1 < difatSectors ? used + fatSectors + d + 1 : kEnd);
    }

    // Version 4 pads the 512-byte header to a whole sector.
    std::string header(kSector, '\0');
    header.replace(0, 8, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
    putU16(header, 0x18, 0x3E);
    putU16(header, 0x1A, std::uint16_t(version_));
    putU16(header, 0x1C, 0xFFFE);
    putU16(header, 0x1E, version_ == 4 ? 12 : 9);
    putU16(header, 0x20, 6);
    putU32(header, 0x2C, fatSectors);
    putU32(header, 0x30, layout.firstDirSector);
    putU32(header, 0x38, 4096);
    putU32(header, 0x3C, layout.firstMiniFatSector);
    putU32(header, 0x40, sectorsFor(miniFatBytes.size(), kSector));
    putU32(header, 0x44, layout.firstDifatSector);
    putU32(header, 0x48, difatSectors);
    for (std::uint32_t i = 0; i < 109; ++i)
        putU32(header, 0x4C + 4 * i, i < fatSectors ? used + i : kFree);

    if (layoutOut)
        *layoutOut = layout;
    return header + data + fatBytes + difatBytes;
}

std::string compoundFile(const std::vector<std::pair<std::string, std::string>>& streams)
{
    CompoundFileWriter writer;
    for (const auto& [name, bytes] : streams)
        writer.add(name, bytes);
    return writer.write();
}

}  // namespace leafmill::test
