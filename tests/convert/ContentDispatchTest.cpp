// Sources read by what their bytes are, whatever their names end in.
#include "convert/ContentDispatch.h"
#include "convert/SourceConverter.h"
#include "io/InputFile.h"
#include "io/MappedFile.h"
#include "text/CodePage.h"
#include "text/SourceEncoding.h"

#include "../extract/CaseFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace leafmill {
namespace {

namespace fs = std::filesystem;

// Every format with a content test is reached by it in some case.
TEST(ContentDispatch, TheBytesChooseTheReader)
{
    std::set<const SourceKind*> chosen;
    const auto codePage = CodePage::open("windows-1252");
    const fs::path tests = test::documentsDir() / ".." / "..", packages = tests / "extract" / "fixtures";
    for (const auto& c : test::caseFile(LEAFMILL_TEST_DATA "/content.txt")) {
        ASSERT_EQ(c.size(), 4u) << c[0];
        std::string bytes = c[1];
        if (bytes.starts_with("@")) {
            const fs::path document = test::documentsDir() / bytes.substr(1);
            bytes = test::readFile(fs::exists(document) ? document : packages / bytes.substr(1));
        }
        test::TempDir dir;
        const std::string path = (dir.path() / c[0]).string();
        test::writeFile(path, bytes);
        // One open file serves the choice and the reader.
        InputFile source;
        std::string reason;
        ASSERT_TRUE(source.open(path, &reason)) << reason;
        const ContentChoice choice = chooseSourceKind(path, source, defaultDispatchTable());
        if (!choice.warning.empty() || !findSourceKind(path, defaultDispatchTable()))
            chosen.insert(choice.kind);
        if (!choice.kind) {
            EXPECT_EQ(c[3], "(no reader)") << c[0];
            continue;
        }
        ExtractedText read;
        if (choice.kind->extractor)
            read = extractSource(source, *choice.kind, *codePage, kDetectEncoding, nullptr);
        else
            read.text = decodeSource(bytes, detectSourceEncoding(bytes, *codePage));
        EXPECT_EQ(choice.warning.empty() ? read.reason : choice.warning, c[3]) << c[0];
        EXPECT_NE(read.text.find(c[2]), std::string::npos) << c[0] << ": " << read.text;
    }
    for (const SourceKind& kind : defaultDispatchTable())
        EXPECT_EQ(chosen.contains(&kind), kind.content.matches != nullptr) << kind.kindWord;
}

// A source is opened once: its readers take turns from where each chooses,
// its name may go meanwhile, and its state tells a change made in place.
TEST(InputFileTest, OneOpenFileServesEveryReaderAndTellsAChange)
{
    test::TempDir dir;
    const fs::path path = dir.path() / "a.txt";
    test::writeFile(path, "abcdef");
    InputFile file;
    std::string block, reason;
    ASSERT_TRUE(file.open(path, &reason)) << reason;
    const FileState opened = file.state();
    EXPECT_EQ(opened.size, 6u);
    ASSERT_TRUE(file.read(block, 4, &reason) && block == "abcd") << block;
    ASSERT_TRUE(file.read(block, 4, &reason) && block == "ef") << block;
    ASSERT_TRUE(file.read(block, 4, &reason) && block.empty()) << block;
    fs::remove(path);
    ASSERT_TRUE(file.readAll(block, &reason));
    EXPECT_EQ(block, "abcdef");
    EXPECT_EQ(file.state(), opened) << "a name gone changes nothing that is read";

    test::writeFile(path, "abcdef");
    ASSERT_TRUE(file.open(path, &reason)) << reason;
    const FileState before = file.state();
    EXPECT_NE(before.identity, opened.identity);
    fs::resize_file(path, 2);
    EXPECT_NE(file.state(), before);
    file.rewind();
    ASSERT_TRUE(file.read(block, 4, &reason));
    EXPECT_EQ(block, "ab");
}

#ifdef __linux__
// A file whose size the system does not tell (as /proc's) is read whole.
TEST(InputFileTest, ReadsAllOfAFileOfUntoldSize)
{
    InputFile file;
    std::string bytes, reason;
    ASSERT_TRUE(file.open("/proc/self/status", &reason)) << reason;
    ASSERT_EQ(file.state().size, 0u);
    ASSERT_TRUE(file.readAll(bytes, &reason)) << reason;
    EXPECT_TRUE(bytes.starts_with("Name:")) << bytes;
    EXPECT_NE(bytes.find("\nnonvoluntary_ctxt_switches:"), std::string::npos) << bytes;
    EXPECT_TRUE(bytes.ends_with("\n")) << bytes;
}
#endif

#ifndef _WIN32
// A pipe named like a document is refused without waiting for a writer
// that never comes.
TEST(InputFileTest, RefusesAPipeWithoutWaiting)
{
    test::TempDir dir;
    const std::string path = (dir.path() / "pipe.doc").string();
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    InputFile source;
    std::string reason;
    EXPECT_FALSE(source.open(path, &reason));
    EXPECT_EQ(reason, "it is not a file");
}
#endif

#if defined(__linux__)
// The file-backed memory of this process, in kB.
long fileMemory()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long kilobytes = 0;
    while (status >> key && key != "RssFile:")
        status.ignore(256, '\n');
    status >> kilobytes;
    return kilobytes;
}

// What a reader has read of a mapped file goes back to the system and
// reads again as it was.
TEST(MappedFileTest, ReadBytesGoBackAndReadAgainAsTheyWere)
{
    std::string bytes(std::size_t {8} << 20, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>('a' + i % 23);
    test::TempDir dir;
    test::writeFile(dir.path() / "large.pdf", bytes);
    InputFile file;
    MappedFile mapped;
    std::string reason;
    ASSERT_TRUE(file.open(dir.path() / "large.pdf", &reason) && mapped.open(file, &reason)) << reason;
    const long before = fileMemory();
    EXPECT_TRUE(mapped.bytes() == bytes);
    const long read = fileMemory();
    mapped.release(mapped.bytes().substr(0, bytes.size() / 2));
    const long half = fileMemory();
    mapped.release(mapped.bytes());
    EXPECT_GT(read - before, 6000);
    EXPECT_LT(read - half, 4500) << "only what was given back goes";
    EXPECT_GT(read - half, 3500);
    EXPECT_LT(fileMemory() - before, 1000);
    EXPECT_TRUE(mapped.bytes() == bytes);
    // Bytes of other memory (a part decompressed from the file) are left as they are.
    const std::string copy = bytes;
    mapped.release(copy);
    EXPECT_TRUE(copy == bytes);
}
#endif

}  // namespace
}  // namespace leafmill
