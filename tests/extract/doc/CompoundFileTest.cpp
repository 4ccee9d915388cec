// Compound files: streams from the FAT and mini stream; damaged files refused with a reason.
#include "extract/doc/CompoundFile.h"
#include "CompoundFileWriter.h"
#include "extract/doc/DocFormatError.h"
#include "extract/doc/LittleEndian.h"

#include <gtest/gtest.h>

namespace leafmill::extract::doc {
namespace {

using test::CompoundFileWriter;
using test::put;

constexpr std::uint32_t kEnd = 0xFFFFFFFE;

// Bytes that differ from sector to sector.
std::string pattern(std::size_t size, char seed)
{
    std::string out(size, seed);
    for (std::size_t i = 0; i < size; ++i)
        out[i] += static_cast<char>(i * 7 % 251);
    return out;
}

// A big stream in the FAT, a small one in the mini stream.
struct Sample {
    std::string big = pattern(9000, 'a'), small = pattern(300, 'b');
    CompoundFileWriter writer;
    CompoundFileWriter::Layout layout;
    std::string file;

    explicit Sample(int version = 3)
        : writer(version)
    {
        writer.add("WordDocument", big);
        writer.add("1Table", small);
        file = writer.write(&layout);
    }
    std::size_t fatEntry(std::uint32_t sector) const { return writer.sectorOffset(layout.firstFatSector) + 4 * sector; }
    std::size_t dirEntry(int index, std::size_t field) const
    {
        return writer.sectorOffset(layout.firstDirSector) + 128 * index + field;
    }
};

// Why the file, opened and both streams read, is refused; empty when it is not.
std::string refusal(const std::string& file)
{
    try {
        const CompoundFile cf(file);
        (void)cf.stream("WordDocument");
        (void)cf.stream("1Table");
    } catch (const DocFormatError& error) {
        return error.what();
    }
    return {};
}

TEST(CompoundFile, ReadsStreamsFromTheFatAndTheMiniStreamByNameInAnyCase)
{
    for (int version : {3, 4}) {
        const Sample sample(version);
        EXPECT_EQ(sample.file.size() % sample.writer.sectorSize(), 0u);
        const CompoundFile file(sample.file);
        EXPECT_TRUE(file.stream("WORDdocument") == sample.big);
        EXPECT_TRUE(file.stream("1table") == sample.small);
        EXPECT_EQ(file.stream("0Table"), std::nullopt);
        EXPECT_EQ(file.stream("Data"), std::nullopt);
    }
    // Writers may end the file where the data ends; here inside the FAT sector.
    const Sample sample;
    const std::string bytes = sample.file.substr(0, sample.file.size() - 400);
    const CompoundFile cut(bytes);
    EXPECT_TRUE(cut.stream("WordDocument") == sample.big);
    EXPECT_TRUE(cut.stream("1Table") == sample.small);
}

// Sectors stored out of order: the stream is read where it lies, a range in
// one run straight from the file, one across runs gathered.
TEST(CompoundFile, ReadsAStreamWhoseSectorsAreOutOfOrder)
{
    Sample s;
    const std::uint32_t big = s.layout.streamStart[0];
    // The chain 0 1 5 3 4 2 6 ... with the bytes moved to match.
    for (const auto& [from, to] : {std::pair {1u, 5u}, {5u, 3u}, {4u, 2u}, {2u, 6u}})
        put(s.file, s.fatEntry(big + from), big + to, 4);
    const std::size_t two = s.writer.sectorOffset(big + 2), five = s.writer.sectorOffset(big + 5);
    for (std::size_t i = 0; i < 512; ++i)
        std::swap(s.file[two + i], s.file[five + i]);

    const CompoundFile file(s.file);
    EXPECT_TRUE(file.stream("WordDocument") == s.big);
    const std::optional<StreamView> view = file.streamView("WordDocument");
    ASSERT_TRUE(view);
    EXPECT_EQ(view->size(), s.big.size());
    std::string scratch;
    const std::string_view second = view->read(1024, 512, scratch);
    EXPECT_EQ(second, s.big.substr(1024, 512));
    EXPECT_EQ(second.data(), s.file.data() + five);
    for (const auto& [offset, length] : {std::pair {1000u, 100u}, {1500u, 1600u}, {8990u, 100u}, {9000u, 1u}})
        EXPECT_EQ(view->read(offset, length, scratch), s.big.substr(offset, length)) << offset;
    std::string parts;
    view->forEachPart(1000, 2200, [&](std::string_view part) {
        EXPECT_GE(part.data(), s.file.data());
        parts += part;
    });
    EXPECT_EQ(parts, s.big.substr(1000, 2200));
}

TEST(CompoundFile, FindsFatSectorsBeyondTheHeaderThroughTheDifat)
{
    // Over 109 FAT sectors (7 MB of sectors) need a DIFAT sector.
    const std::string huge = pattern(7500000, 'h');
    CompoundFileWriter writer;
    writer.add("WordDocument", huge);
    CompoundFileWriter::Layout layout;
    std::string file = writer.write(&layout);
    ASSERT_NE(layout.firstDifatSector, kEnd);
    EXPECT_EQ(CompoundFile(file).stream("WordDocument"), huge);

    // The DIFAT sector naming itself as the next one, while more FAT sectors are due.
    put(file, 0x2C, readU32(file, 0x2C, "header") + 200, 4);
    put(file, writer.sectorOffset(layout.firstDifatSector) + 508, layout.firstDifatSector, 4);
    EXPECT_EQ(refusal(file),
              "compound file is damaged: DIFAT chain loops at sector " + std::to_string(layout.firstDifatSector));
}

TEST(CompoundFile, RefusesDamagedFilesWithTheReason)
{
    const Sample s;
    const std::uint32_t big = s.layout.streamStart[0], small = s.layout.streamStart[1];
    const std::size_t miniFat = s.writer.sectorOffset(s.layout.firstMiniFatSector);
    const struct {
        std::size_t at;
        std::uint32_t value;
        int width;
        std::string said;
    } damages[] = {
        {0x1C, 0xFEFF, 2, "the header's byte-order mark is wrong"},
        {0x1E, 12, 2, "version 3 with sector shift 12 is not a valid sector size"},
        {0x1A, 4, 2, "version 4 with sector shift 9 is not a valid sector size"},
        {0x20, 7, 2, "mini sector size is not 64 bytes"},
        {0x38, 2048, 4, "mini stream cutoff is not 4096 bytes"},
        {0x2C, 5000000, 4, "the header names 5000000 FAT sectors in a file of"},
        {0x4C, 77777, 4, "FAT sector 77777 lies beyond the end"},
        {0x2C, 2, 4, "FAT sector 4294967295 lies beyond the end"},  // a second one the header leaves free
        {s.fatEntry(big + 2), big + 1, 4, "FAT chain loops at sector " + std::to_string(big + 1)},
        {s.fatEntry(big + 1), 90000, 4, "FAT chain runs out of range at sector 90000"},
        {s.fatEntry(big + 1), kEnd, 4, "a stream of 9000 bytes has only 1024 bytes in its chain"},
        {s.dirEntry(2, 0x48), 1, 4, "directory tree loops at entry 1"},
        {s.dirEntry(1, 0x48), 9, 4, "directory entry 9 does not exist"},
        {s.dirEntry(0, 0x42), 2, 1, "no root entry"},
        {miniFat + 4 * (small + 1), small, 4, "mini FAT chain loops at sector " + std::to_string(small)},
        {s.dirEntry(2, 0x74), 1000, 4, "mini FAT chain runs out of range at sector 1000"},
        {miniFat + 4 * (small + 3), kEnd, 4, "a small stream of 300 bytes has only 256 bytes in its mini chain"},
        {s.dirEntry(1, 0x78), 0x7FFFFFFF, 4, "a stream of 2147483647 bytes does not fit in the file"},
    };
    for (const auto& damage : damages) {
        std::string file = s.file;
        put(file, damage.at, damage.value, damage.width);
        const std::string reason = refusal(file);
        EXPECT_NE(reason.find(damage.said), std::string::npos) << damage.said << " | " << reason;
    }
    EXPECT_EQ(refusal("not a compound file at all"), "not a compound file");
    EXPECT_EQ(refusal(s.file.substr(0, 300)), "compound file is damaged: the file is shorter than its 512-byte header");
}

}  // namespace
}  // namespace leafmill::extract::doc
