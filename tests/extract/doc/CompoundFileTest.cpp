// Reading compound files: streams from the FAT and the mini stream, and
// damaged headers, sector sizes and chains refused with a reason.
#include "extract/doc/CompoundFile.h"
#include "CompoundFileWriter.h"
#include "extract/doc/DocFormatError.h"
#include "extract/doc/LittleEndian.h"

#include <gtest/gtest.h>

#include <functional>

namespace leafmill::extract::doc {
namespace {

using test::CompoundFileWriter;
using test::putU16;
using test::putU32;

constexpr std::uint32_t kEnd = 0xFFFFFFFE;

std::string pattern(std::size_t size, char seed)
{
    std::string out(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        out[i] = static_cast<char>(seed + i * 7 % 251);
    return out;
}

struct Sample {
    std::string big = pattern(9000, 'a');
    std::string small = pattern(300, 'b');
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
};

std::string damageReason(const std::string& file, const std::function<void(const CompoundFile&)>& use = {})
{
    try {
        const CompoundFile cf(file);
        if (use)
            use(cf);
    } catch (const DocFormatError& error) {
        return error.what();
    }
    return {};
}

TEST(CompoundFile, ReadsStreamsFromTheFatAndTheMiniStreamByNameInAnyCase)
{
    const Sample sample;
    const CompoundFile file(sample.file);
    EXPECT_EQ(file.stream("WordDocument"), sample.big);
    EXPECT_EQ(file.stream("1table"), sample.small);
    EXPECT_EQ(file.stream("WORDDOCUMENT"), sample.big);
    EXPECT_EQ(file.stream("Data"), std::nullopt);
}

TEST(CompoundFile, ReadsVersion4FilesWith4096ByteSectors)
{
    const Sample sample(4);
    ASSERT_EQ(sample.file.size() % 4096, 0u);
    const CompoundFile file(sample.file);
    EXPECT_EQ(file.stream("WordDocument"), sample.big);
    EXPECT_EQ(file.stream("1Table"), sample.small);

    // A loop in a version 4 chain is found the same way.
    std::string loop = sample.file;
    const std::uint32_t first = sample.layout.streamStart[0];
    putU32(loop, sample.fatEntry(first + 1), first);
    EXPECT_EQ(damageReason(loop, [](const CompoundFile& cf) { (void)cf.stream("WordDocument"); }),
              "compound file is damaged: FAT chain loops at sector " + std::to_string(first));
}

TEST(CompoundFile, ReadsAFileWhoseLastSectorIsCutShort)
{
    const Sample sample;
    // Writers may end the file where the data ends; here inside the FAT sector.
    const std::string cut = sample.file.substr(0, sample.file.size() - 400);
    const CompoundFile file(cut);
    EXPECT_EQ(file.stream("WordDocument"), sample.big);
    EXPECT_EQ(file.stream("1Table"), sample.small);
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
    putU32(file, 0x2C, readU32(file, 0x2C, "header") + 200);
    putU32(file, writer.sectorOffset(layout.firstDifatSector) + 508, layout.firstDifatSector);
    EXPECT_EQ(damageReason(file),
              "compound file is damaged: DIFAT chain loops at sector " + std::to_string(layout.firstDifatSector));
}

TEST(CompoundFile, RefusesDamagedHeaders)
{
    const Sample sample;
    EXPECT_THROW(CompoundFile("not a compound file at all"), DocFormatError);
    EXPECT_NE(damageReason(sample.file.substr(0, 300)).find("shorter than its 512-byte header"), std::string::npos);

    std::string byteOrder = sample.file;
    putU16(byteOrder, 0x1C, 0xFEFF);
    EXPECT_NE(damageReason(byteOrder).find("byte-order mark"), std::string::npos);

    std::string sectorSize = sample.file;
    putU16(sectorSize, 0x1E, 12);  // version 3 with 4096-byte sectors
    EXPECT_NE(damageReason(sectorSize).find("not a valid sector size"), std::string::npos);
    putU16(sectorSize, 0x1E, 40);
    EXPECT_NE(damageReason(sectorSize).find("not a valid sector size"), std::string::npos);

    std::string miniSize = sample.file;
    putU16(miniSize, 0x20, 7);
    EXPECT_NE(damageReason(miniSize).find("mini sector size"), std::string::npos);

    std::string fatCount = sample.file;
    putU32(fatCount, 0x2C, 5000000);
    EXPECT_NE(damageReason(fatCount).find("FAT sectors in a file of"), std::string::npos);

    std::string fatBeyond = sample.file;
    putU32(fatBeyond, 0x4C, 77777);
    EXPECT_NE(damageReason(fatBeyond).find("FAT sector 77777 lies beyond the end"), std::string::npos);

    std::string missingFatSector = sample.file;
    putU32(missingFatSector, 0x2C, 2);  // a second FAT sector the header leaves free
    EXPECT_EQ(damageReason(missingFatSector),
              "compound file is damaged: FAT sector 4294967295 lies beyond the end of the file");
}

TEST(CompoundFile, RefusesChainsThatLoopOrRunOutOfRange)
{
    const Sample sample;
    const std::uint32_t first = sample.layout.streamStart[0];
    const auto readBig = [](const CompoundFile& cf) { (void)cf.stream("WordDocument"); };

    std::string loop = sample.file;
    putU32(loop, sample.fatEntry(first + 2), first + 1);
    EXPECT_EQ(damageReason(loop, readBig),
              "compound file is damaged: FAT chain loops at sector " + std::to_string(first + 1));

    std::string outOfRange = sample.file;
    putU32(outOfRange, sample.fatEntry(first + 1), 90000);
    EXPECT_EQ(damageReason(outOfRange, readBig),
              "compound file is damaged: FAT chain runs out of range at sector 90000");

    std::string shortChain = sample.file;
    putU32(shortChain, sample.fatEntry(first + 1), kEnd);
    EXPECT_NE(damageReason(shortChain, readBig).find("has only 1024 bytes in its chain"), std::string::npos);

    std::string dirLoop = sample.file;
    putU32(dirLoop, sample.writer.sectorOffset(sample.layout.firstDirSector) + 2 * 128 + 0x48, 1);
    EXPECT_NE(damageReason(dirLoop).find("directory tree loops at entry 1"), std::string::npos);

    std::string noRoot = sample.file;
    noRoot[sample.writer.sectorOffset(sample.layout.firstDirSector) + 0x42] = 2;
    EXPECT_NE(damageReason(noRoot).find("no root entry"), std::string::npos);
}

TEST(CompoundFile, RefusesBrokenMiniChains)
{
    const Sample sample;
    const auto readSmall = [](const CompoundFile& cf) { (void)cf.stream("1Table"); };
    const std::size_t miniFat = sample.writer.sectorOffset(sample.layout.firstMiniFatSector);
    const std::uint32_t first = sample.layout.streamStart[1];

    std::string loop = sample.file;
    putU32(loop, miniFat + 4 * (first + 1), first);
    EXPECT_EQ(damageReason(loop, readSmall),
              "compound file is damaged: mini FAT chain loops at sector " + std::to_string(first));

    std::string beyond = sample.file;
    putU32(beyond, sample.writer.sectorOffset(sample.layout.firstDirSector) + 2 * 128 + 0x74, 1000);
    EXPECT_NE(damageReason(beyond, readSmall).find("mini FAT chain runs out of range at sector 1000"),
              std::string::npos);

    std::string oversized = sample.file;
    putU32(oversized, sample.writer.sectorOffset(sample.layout.firstDirSector) + 1 * 128 + 0x78, 0x7FFFFFFF);
    EXPECT_NE(damageReason(oversized, [](const CompoundFile& cf) { (void)cf.stream("WordDocument"); })
                  .find("does not fit in the file"),
              std::string::npos);
}

}  // namespace
}  // namespace leafmill::extract::doc
