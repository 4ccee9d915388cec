// Hostile documents that could make a reader recurse or loop without end,
// through leafmill-cli --text: each finishes, with its text or a reason.
// The big inputs (a gigabyte line, a 200 MB HTML line) are measured by
// bench/bounds.sh instead.
#include "ChildProcess.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace leafmill {
namespace {

using test::ChildResult;
using test::TempDir;

class BoundsTest : public ::testing::Test {
protected:
    ChildResult text(const std::string& name, const std::string& bytes)
    {
        test::writeFile(dir / name, bytes);
        return test::runProgram(
            LEAFMILL_CLI, {"--settings", (test::assetsDir() / "main.ini").string(), "--text", (dir / name).string()});
    }

    TempDir dir;
};

std::uint32_t read32(const std::string& file, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(file.at(at + static_cast<std::size_t>(i)));
    return value;
}

void write32(std::string& file, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        file.at(at + static_cast<std::size_t>(i)) = static_cast<char>(value >> (8 * i));
}

// A compound file with 512-byte sectors, opened for surgery on its chains.
class CompoundSurgery {
public:
    explicit CompoundSurgery(std::string file)
        : file_(std::move(file))
    {
        EXPECT_EQ(read32(file_, 0x1E) & 0xFFFF, 9u) << "512-byte sectors expected";
    }

    std::uint32_t directoryStart() const { return read32(file_, 0x30); }

    // The first sector of a root-level stream, by its ASCII name.
    std::uint32_t streamStart(const std::string& name) const
    {
        for (std::uint32_t sector = directoryStart(); sector < 0xFFFFFFFA; sector = next(sector)) {
            for (std::size_t entry = 0; entry < 4; ++entry) {
                const std::size_t at = offset(sector) + entry * 128;
                std::string entryName;
                for (std::size_t i = 0; i + 2 < (static_cast<unsigned char>(file_[at + 64]) | 0u); i += 2)
                    entryName += file_[at + i];
                if (entryName == name)
                    return read32(file_, at + 116);
            }
        }
        ADD_FAILURE() << "no stream " << name;
        return 0;
    }

    std::uint32_t next(std::uint32_t sector) const { return read32(file_, fatEntry(sector)); }
    void link(std::uint32_t sector, std::uint32_t to) { write32(file_, fatEntry(sector), to); }
    const std::string& bytes() const { return file_; }

private:
    static std::size_t offset(std::uint32_t sector) { return 512 * (static_cast<std::size_t>(sector) + 1); }
    // Each FAT sector holds 128 entries; the header lists the first 109.
    std::size_t fatEntry(std::uint32_t sector) const
    {
        const std::uint32_t fatSector = read32(file_, 0x4C + 4 * (sector / 128));
        return offset(fatSector) + 4 * (sector % 128);
    }

    std::string file_;
};

#ifndef _WIN32

TEST_F(BoundsTest, AnRtfNestedAHundredThousandGroupsDeepFinishes)
{
    const std::string deep
        = "{\\rtf1\\ansi " + std::string(100'000, '{') + "deep" + std::string(100'000, '}') + " shallow}";
    const ChildResult result = text("deep.rtf", deep);
    ASSERT_EQ(result.signal, 0) << result.err;
    ASSERT_TRUE(result.exitStatus == 0 || result.exitStatus == 1) << result.exitStatus << ": " << result.err;
    if (result.exitStatus == 0)
        EXPECT_NE(result.out.find("shallow"), std::string::npos) << "the text after the deep groups is kept";
    else
        EXPECT_NE(result.err.find("deep.rtf"), std::string::npos) << result.err;

    const std::string unbalanced = "{\\rtf1\\ansi " + std::string(100'000, '{') + "never closed";
    const ChildResult open = text("open.rtf", unbalanced);
    EXPECT_EQ(open.signal, 0) << open.err;
    EXPECT_TRUE(open.exitStatus == 0 || open.exitStatus == 1) << open.err;
}

TEST_F(BoundsTest, ADocWhoseSectorChainsLoopIsRefusedWithAReason)
{
    const std::string original = test::readFile(test::documentsDir() / "letter.doc");
    const ChildResult sound = text("sound.doc", original);
    ASSERT_EQ(sound.exitStatus, 0) << sound.err;

    CompoundSurgery directoryLoop(original);
    directoryLoop.link(directoryLoop.directoryStart(), directoryLoop.directoryStart());
    CompoundSurgery streamLoop(original);
    const std::uint32_t start = streamLoop.streamStart("WordDocument");
    const std::uint32_t second = streamLoop.next(start);
    ASSERT_LT(second, 0xFFFFFFFAu) << "the stream spans several sectors";
    streamLoop.link(second, start);

    // A looping directory leaves no stream to read; a stream that loops back
    // before its text is read as damaged, and nothing of it is made up.
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {{"directory.doc", directoryLoop.bytes(), "compound file is damaged: FAT chain loops"},
                 {"stream.doc", streamLoop.bytes(), "the document is damaged and none of its text can be read"}};
    for (const auto& c : cases) {
        const ChildResult result = text(c.name, c.bytes);
        EXPECT_EQ(result.exitStatus, 1) << c.name << ": " << result.err;
        EXPECT_NE(result.err.find(c.reason), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << c.name;
    }
}

#endif

}  // namespace
}  // namespace leafmill
