#include "extract/doc/CompoundFile.h"

#include "extract/doc/DocFormatError.h"
#include "extract/doc/LittleEndian.h"

#include <algorithm>

namespace leafmill::extract::doc {

namespace {

constexpr std::string_view kSignature {"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8};
constexpr std::uint32_t kMaxRegularSector = 0xFFFFFFFA;
constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kFreeSector = 0xFFFFFFFF;
constexpr std::uint32_t kNoStream = 0xFFFFFFFF;
constexpr std::uint32_t kMiniSectorSize = 64;
constexpr std::uint32_t kMiniStreamCutoff = 4096;
constexpr std::size_t kHeaderDifatEntries = 109;
constexpr std::size_t kDirEntrySize = 128;
constexpr std::uint8_t kStreamType = 2, kRootType = 5;

[[noreturn]] void damaged(const std::string& why)
{
    throw DocFormatError("compound file is damaged: " + why);
}

char16_t foldAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c;
}

bool sameName(const std::u16string& stored, std::string_view wanted)
{
    if (stored.size() != wanted.size())
        return false;
    for (std::size_t i = 0; i < stored.size(); ++i)
        if (foldAscii(stored[i]) != foldAscii(static_cast<unsigned char>(wanted[i])))
            return false;
    return true;
}

}  // namespace

bool CompoundFile::hasSignature(std::string_view file)
{
    return file.substr(0, kSignature.size()) == kSignature;
}

CompoundFile::CompoundFile(std::string_view file)
    : file_(file)
{
    if (!hasSignature(file))
        throw DocFormatError("not a compound file");
    readHeader();
    readFat();
    readDirectory();
    collectRootChildren();
}

void CompoundFile::readHeader()
{
    if (file_.size() < 512)
        damaged("the file is shorter than its 512-byte header");
    if (readU16(file_, 0x1C, "header") != 0xFFFE)
        damaged("the header's byte-order mark is wrong");
    const std::uint16_t major = readU16(file_, 0x1A, "header");
    sectorShift_ = readU16(file_, 0x1E, "header");
    if (!((major == 3 && sectorShift_ == 9) || (major == 4 && sectorShift_ == 12)))
        damaged("version " + std::to_string(major) + " with sector shift " + std::to_string(sectorShift_)
                + " is not a valid sector size");
    if (readU16(file_, 0x20, "header") != 6)
        damaged("the mini sector size is not 64 bytes");
    if (readU32(file_, 0x38, "header") != kMiniStreamCutoff)
        damaged("the mini stream cutoff is not 4096 bytes");
    sectorSize_ = 1u << sectorShift_;
    // Version 4 files pad the header to a whole 4096-byte sector.
    if (file_.size() <= sectorSize_)
        damaged("the file holds no sectors after its header");
    sectorCount_ = static_cast<std::uint32_t>((file_.size() - sectorSize_ + sectorSize_ - 1) / sectorSize_);
    fatSectors_ = readU32(file_, 0x2C, "header");
    firstDirSector_ = readU32(file_, 0x30, "header");
    firstMiniFatSector_ = readU32(file_, 0x3C, "header");
    miniFatSectors_ = readU32(file_, 0x40, "header");
    firstDifatSector_ = readU32(file_, 0x44, "header");
    difatSectors_ = readU32(file_, 0x48, "header");
    if (fatSectors_ == 0 || fatSectors_ > sectorCount_)
        damaged("the header names " + std::to_string(fatSectors_) + " FAT sectors in a file of "
                + std::to_string(sectorCount_) + " sectors");
}

std::string_view CompoundFile::sector(std::uint32_t number) const
{
    if (number >= sectorCount_)
        damaged("sector " + std::to_string(number) + " lies beyond the end of the file");
    const std::size_t offset = (std::size_t(number) + 1) << sectorShift_;
    return file_.substr(offset, sectorSize_);  // the last sector may be short
}

void CompoundFile::readFat()
{
    std::vector<std::uint32_t> fatSectorNumbers;
    fatSectorNumbers.reserve(fatSectors_);
    for (std::size_t i = 0; i < kHeaderDifatEntries && fatSectorNumbers.size() < fatSectors_; ++i)
        fatSectorNumbers.push_back(readU32(file_, 0x4C + 4 * i, "header"));

    const std::uint32_t perDifatSector = sectorSize_ / 4 - 1;
    std::uint32_t next = firstDifatSector_;
    std::vector<bool> seen(sectorCount_, false);
    while (fatSectorNumbers.size() < fatSectors_) {
        if (next >= sectorCount_)
            damaged("the DIFAT chain ends after " + std::to_string(fatSectorNumbers.size()) + " of "
                    + std::to_string(fatSectors_) + " FAT sectors");
        if (seen[next])
            damaged("DIFAT chain loops at sector " + std::to_string(next));
        seen[next] = true;
        const std::string_view difat = sector(next);
        for (std::uint32_t i = 0; i < perDifatSector && fatSectorNumbers.size() < fatSectors_; ++i)
            fatSectorNumbers.push_back(readU32(difat, 4 * i, "DIFAT sector"));
        next = readU32(difat, 4 * perDifatSector, "DIFAT sector");
    }

    fat_.reserve(std::size_t(fatSectors_) * (sectorSize_ / 4));
    for (std::uint32_t number : fatSectorNumbers) {
        if (number >= sectorCount_)
            damaged("FAT sector " + std::to_string(number) + " lies beyond the end of the file");
        const std::string_view bytes = sector(number);
        for (std::size_t pos = 0; pos + 4 <= sectorSize_; pos += 4)
            fat_.push_back(pos + 4 <= bytes.size() ? readU32(bytes, pos, "FAT sector") : kFreeSector);
    }
}

std::vector<std::uint32_t> CompoundFile::chain(std::uint32_t start, std::uint64_t maxLength, bool mini,
                                               bool* broken) const
{
    const std::vector<std::uint32_t>& table = mini ? miniFat_ : fat_;
    const char* tableName = mini ? "mini FAT" : "FAT";
    std::vector<std::uint32_t> sectors;
    std::vector<bool> seen(table.size(), false);
    std::uint32_t current = start;
    while (current != kEndOfChain && sectors.size() < maxLength) {
        std::string fault;
        if (current > kMaxRegularSector || current >= table.size())
            fault = " chain runs out of range at sector ";
        else if (seen[current])
            fault = " chain loops at sector ";
        else if (broken && !mini && current >= sectorCount_)
            fault = " chain runs past the end of the file at sector ";
        if (!fault.empty()) {
            if (!broken)
                damaged(std::string(tableName) + fault + std::to_string(current));
            *broken = true;
            break;
        }
        seen[current] = true;
        sectors.push_back(current);
        current = table[current];
    }
    return sectors;
}

// A chain that holds less than the stream's size is damage, raised or, with
// `unreadBytes`, counted.
void CompoundFile::checkGathered(const StreamView& view, std::uint64_t size, std::uint64_t* unreadBytes,
                                 bool mini) const
{
    if (view.size() >= size)
        return;
    if (!unreadBytes)
        damaged(std::string(mini ? "a small stream of " : "a stream of ") + std::to_string(size) + " bytes has only "
                + std::to_string(view.size()) + " bytes in its " + (mini ? "mini chain" : "chain"));
    *unreadBytes = size - view.size();
}

StreamView CompoundFile::readFromFat(std::uint32_t start, std::uint64_t size, std::uint64_t* unreadBytes) const
{
    // A stream cannot be larger than the file that holds it.
    if (size > file_.size())
        damaged("a stream of " + std::to_string(size) + " bytes does not fit in the file");
    const std::uint64_t needed = (size + sectorSize_ - 1) / sectorSize_;
    StreamView view;
    bool broken = false;
    for (std::uint32_t number : chain(start, needed, false, unreadBytes ? &broken : nullptr))
        view.append(sector(number).substr(0, static_cast<std::size_t>(size - view.size())));
    checkGathered(view, size, unreadBytes, false);
    return view;
}

StreamView CompoundFile::readFromMiniStream(std::uint32_t start, std::uint64_t size, std::uint64_t* unreadBytes) const
{
    const std::uint64_t needed = (size + kMiniSectorSize - 1) / kMiniSectorSize;
    StreamView view;
    bool broken = false;
    for (std::uint32_t number : chain(start, needed, true, unreadBytes ? &broken : nullptr)) {
        const std::uint64_t offset = std::uint64_t(number) * kMiniSectorSize;
        if (offset >= miniStream_.size()) {
            if (!unreadBytes)
                damaged("mini sector " + std::to_string(number) + " lies beyond the end of the mini stream");
            break;
        }
        miniStream_.forEachPart(offset, std::min<std::uint64_t>(kMiniSectorSize, size - view.size()),
                                [&view](std::string_view part) { view.append(part); });
    }
    checkGathered(view, size, unreadBytes, true);
    return view;
}

void CompoundFile::readDirectory()
{
    const std::string_view sizeFieldWhat = "directory entry";
    for (std::uint32_t number : chain(firstDirSector_, sectorCount_, false)) {
        const std::string_view bytes = sector(number);
        for (std::size_t pos = 0; pos + kDirEntrySize <= bytes.size(); pos += kDirEntrySize) {
            const std::string_view raw = bytes.substr(pos, kDirEntrySize);
            Entry entry;
            const std::uint16_t nameBytes = std::min<std::uint16_t>(readU16(raw, 0x40, sizeFieldWhat), 64);
            for (std::size_t i = 0; i + 1 < nameBytes; i += 2) {
                const char16_t c = readU16(raw, i, sizeFieldWhat);
                if (c == 0)
                    break;
                entry.name.push_back(c);
            }
            entry.type = readU8(raw, 0x42, sizeFieldWhat);
            entry.left = readU32(raw, 0x44, sizeFieldWhat);
            entry.right = readU32(raw, 0x48, sizeFieldWhat);
            entry.child = readU32(raw, 0x4C, sizeFieldWhat);
            entry.start = readU32(raw, 0x74, sizeFieldWhat);
            entry.size = readU32(raw, 0x78, sizeFieldWhat);
            // Version 3 files may leave garbage in the high half of the size.
            if (sectorShift_ == 12)
                entry.size |= std::uint64_t(readU32(raw, 0x7C, sizeFieldWhat)) << 32;
            entries_.push_back(std::move(entry));
        }
    }
    if (entries_.empty() || entries_[0].type != kRootType)
        damaged("the directory has no root entry");

    const Entry& root = entries_[0];
    if (root.size > 0) {
        miniStream_ = readFromFat(root.start, root.size);
        const std::uint64_t miniFatEntries = std::uint64_t(miniFatSectors_) * (sectorSize_ / 4);
        if (miniFatSectors_ > sectorCount_)
            damaged("the header names more mini FAT sectors than the file holds");
        for (std::uint32_t number : chain(firstMiniFatSector_, miniFatSectors_, false)) {
            const std::string_view bytes = sector(number);
            for (std::size_t pos = 0; pos + 4 <= bytes.size() && miniFat_.size() < miniFatEntries; pos += 4)
                miniFat_.push_back(readU32(bytes, pos, "mini FAT sector"));
        }
    }
}

void CompoundFile::collectRootChildren()
{
    std::vector<bool> seen(entries_.size(), false);
    std::vector<std::uint32_t> pending {entries_[0].child};
    while (!pending.empty()) {
        const std::uint32_t index = pending.back();
        pending.pop_back();
        if (index == kNoStream)
            continue;
        if (index >= entries_.size())
            damaged("directory entry " + std::to_string(index) + " does not exist");
        if (seen[index])
            damaged("the directory tree loops at entry " + std::to_string(index));
        seen[index] = true;
        rootChildren_.push_back(index);
        pending.push_back(entries_[index].left);
        pending.push_back(entries_[index].right);
    }
}

const CompoundFile::Entry* CompoundFile::findRootEntry(std::string_view name) const
{
    for (std::uint32_t index : rootChildren_) {
        const Entry& entry = entries_[index];
        if (entry.type == kStreamType && sameName(entry.name, name))
            return &entry;
    }
    return nullptr;
}

std::optional<std::string> CompoundFile::stream(std::string_view name, std::uint64_t* unreadBytes) const
{
    const std::optional<StreamView> view = streamView(name, unreadBytes);
    if (!view)
        return std::nullopt;
    std::string bytes;
    return std::string(view->whole(bytes));
}

std::optional<StreamView> CompoundFile::streamView(std::string_view name, std::uint64_t* unreadBytes) const
{
    const Entry* entry = findRootEntry(name);
    if (!entry)
        return std::nullopt;
    if (unreadBytes)
        *unreadBytes = 0;
    if (entry->size < kMiniStreamCutoff)
        return readFromMiniStream(entry->start, entry->size, unreadBytes);
    return readFromFat(entry->start, entry->size, unreadBytes);
}

}  // namespace leafmill::extract::doc
