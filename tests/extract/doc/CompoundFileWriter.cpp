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

// Appends the bytes as a chain of sectors of `unit` bytes; returns its first.
std::uint32_t append(std::string& into, std::vector<std::uint32_t>& table, std::uint32_t unit, const std::string& bytes)
{
    const std::uint32_t first = sectorsFor(into.size(), unit), count = sectorsFor(bytes.size(), unit);
    table.resize(std::max<std::size_t>(table.size(), first + count), kFree);
    for (std::uint32_t i = 0; i < count; ++i)
        table[first + i] = i + 1 < count ? first + i + 1 : kEnd;
    into += bytes;
    into.resize(std::size_t(sectorsFor(into.size(), unit)) * unit, '\0');
    return count ? first : kEnd;
}

std::string directoryEntry(const std::string& name, unsigned type, std::uint32_t right, std::uint32_t child,
                           std::uint32_t start, std::size_t size)
{
    Bytes entry;
    for (char c : name.substr(0, 31))
        entry.n(static_cast<unsigned char>(c), 2);
    entry.s.resize(64, '\0');
    entry.n(2 * (name.substr(0, 31).size() + 1), 2).n(type, 1).n(1, 1).n(kFree, 4).n(right, 4).n(child, 4);
    entry.s.resize(0x74, '\0');
    return entry.n(start, 4).n(size, 4).n(0, 4).s;
}

}  // namespace

void put(std::string& bytes, std::size_t pos, std::uint32_t value, int size)
{
    bytes.resize(std::max(bytes.size(), pos + size), '\0');
    bytes.replace(pos, size, Bytes {}.n(value, size).s);
}

std::string CompoundFileWriter::write(Layout* layoutOut) const
{
    const std::uint32_t sector = sectorSize(), perSector = sector / 4;
    Layout layout;
    std::string mini, data;  // the mini stream; the regular sectors
    std::vector<std::uint32_t> miniFat, fat;
    for (const auto& [name, bytes] : streams_)
        layout.streamStart.push_back(bytes.size() < 4096 ? append(mini, miniFat, kMini, bytes)
                                                         : append(data, fat, sector, bytes));
    const std::uint32_t miniStart = append(data, fat, sector, mini);
    Bytes miniFatBytes;
    for (std::uint32_t entry : miniFat)
        miniFatBytes.n(entry, 4);
    layout.firstMiniFatSector = append(data, fat, sector, miniFatBytes.s);

    // The root, then the streams as a chain of right siblings.
    std::string dir = directoryEntry("Root Entry", 5, kFree, streams_.empty() ? kFree : 1, miniStart, mini.size());
    for (std::size_t i = 0; i < streams_.size(); ++i)
        dir += directoryEntry(streams_[i].first, 2, i + 1 < streams_.size() ? std::uint32_t(i + 2) : kFree, kFree,
                              layout.streamStart[i], streams_[i].second.size());
    layout.firstDirSector = append(data, fat, sector, dir);

    // The FAT sectors last, then DIFAT sectors for those past the 109 the
    // header names; the FAT covers both.
    const std::uint32_t used = sectorsFor(data.size(), sector);
    std::uint32_t fatSectors = 1, difatSectors = 0;
    for (;; ++fatSectors) {
        difatSectors = fatSectors > 109 ? (fatSectors - 109 + perSector - 2) / (perSector - 1) : 0;
        if (fatSectors * perSector >= used + fatSectors + difatSectors)
            break;
    }
    fat.resize(std::size_t(fatSectors) * perSector, kFree);
    for (std::uint32_t i = 0; i < fatSectors + difatSectors; ++i)
        fat[used + i] = i < fatSectors ? kFatMark : kDifatMark;
    Bytes tail;
    for (std::uint32_t entry : fat)
        tail.n(entry, 4);
    for (std::uint32_t d = 0; d < difatSectors; ++d) {
        for (std::uint32_t i = 109 + d * (perSector - 1); i < 109 + (d + 1) * (perSector - 1); ++i)
            tail.n(i < fatSectors ? used + i : kFree, 4);
        tail.n(d + 1 < difatSectors ? used + fatSectors + d + 1 : kEnd, 4);
    }
    layout.firstFatSector = used;
    layout.firstDifatSector = difatSectors ? used + fatSectors : kEnd;

    // Version 4 pads the 512-byte header to a whole sector.
    Bytes header {std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") + std::string(16, '\0')};
    header.n(0x3E, 2).n(std::uint32_t(version_), 2).n(0xFFFE, 2).n(version_ == 4 ? 12 : 9, 2).n(6, 2).n(0, 10);
    header.n(fatSectors, 4).n(layout.firstDirSector, 4).n(0, 4).n(4096, 4).n(layout.firstMiniFatSector, 4);
    header.n(sectorsFor(miniFatBytes.s.size(), sector), 4).n(layout.firstDifatSector, 4).n(difatSectors, 4);
    for (std::uint32_t i = 0; i < 109; ++i)
        header.n(i < fatSectors ? used + i : kFree, 4);
    header.s.resize(sector, '\0');
    if (layoutOut)
        *layoutOut = layout;
    return header.s + data + tail.s;
}

std::string compoundFile(const std::vector<std::pair<std::string, std::string>>& streams)
{
    CompoundFileWriter writer;
    for (const auto& [name, bytes] : streams)
        writer.add(name, bytes);
    return writer.write();
}

}  // namespace leafmill::test
