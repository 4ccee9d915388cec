// iPods laid out in temporary folders as Apple's disk mode shows them: found
// from a mount table, and changed by sends and removals that leave every file
// of other programs as it was.
#include "TestSupport.h"
#include "device/EjectCommands.h"
#include "device/IPodBooks.h"
#include "device/IPodFinder.h"

#include <gtest/gtest.h>

#include <map>

namespace leafmill {
namespace {

namespace fs = std::filesystem;
using Outcome = IPodChange::Outcome;

void put(const fs::path& file, std::string_view bytes)
{
    fs::create_directories(file.parent_path());
    test::writeFile(file, bytes);
}

void makeIPod(const fs::path& root)
{
    fs::create_directories(root / "iPod_Control" / "Device");
    fs::create_directories(root / "Notes");
}

// A finished book as a run leaves it: its pages and the record naming them;
// with volumes, a folder per volume, each with its own record.
void makeBook(const fs::path& folder, int pages, int volumes = 0)
{
    fs::create_directories(folder);
    std::string record = "<?xml encoding=\"UTF8\"?>\r\nLeafmill book record 1\r\n";
    const std::string name = folder.filename().string();
    if (volumes > 0) {
        for (int v = 1; v <= volumes; ++v) {
            makeBook(folder / (name + " " + std::to_string(v)), pages);
            record += name + " " + std::to_string(v) + "/\r\n";
        }
    } else {
        for (int p = 0; p < pages; ++p) {
            put(folder / (name + std::to_string(p) + ".txt"), "page " + std::to_string(p) + "\r\n");
            record += name + std::to_string(p) + ".txt\r\n";
        }
    }
    put(folder / ".leafmill.txt", record);
}

// Every file below the folder with its bytes.
std::map<fs::path, std::string> contents(const fs::path& folder)
{
    std::map<fs::path, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder)] = test::readFile(entry.path());
    return files;
}

TEST(IPodFinderTest, IPodsAreFoundFromTheMountTableAndTheMountPlacesOnce)
{
    test::TempDir dir;
    makeIPod(dir / "media" / "me" / "MY IPOD");
    put(dir / "media" / "me" / "MY IPOD" / "iPod_Control" / "Device" / "SysInfo",
        "BoardHwName: iPod M25\r\npszSerialNumber: XXXXXXXXXXX\r\nModelNumStr: MA003\r\n");
    put(dir / "media" / "me" / "MY IPOD" / "Notes" / "a" / "one.txt", "x");
    put(dir / "media" / "me" / "MY IPOD" / "Notes" / "two.txt", "x");
    makeIPod(dir / "mac");
    put(dir / "mac" / "iPod_Control" / "Device" / "SysInfo", "ModelNumStr: xA623\n");
    makeIPod(dir / "Volumes" / "Other");
    fs::create_directories(dir / "stick" / "Notes");  // no iPod_Control: a plain stick
    const std::string media = (dir / "media" / "me").string();
    put(dir / "mounts",
        "proc /proc proc rw 0 0\n/dev/sdc1 " + (dir / "stick").string() + " vfat rw 0 0\n/dev/sdb2 " + media
            + "/MY\\040IPOD vfat rw,nosuid 0 0\n/dev/sdd2 " + (dir / "mac").string() + " hfsplus rw 0 0\n");
    const std::vector<IPodVolume> found = findIPods(dir / "mounts", {dir / "media", dir / "Volumes"}, 2);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].root, dir / "media" / "me" / "MY IPOD");
    EXPECT_EQ(found[0].notes, found[0].root / "Notes");
    EXPECT_EQ(std::tie(found[0].device, found[0].format, found[0].model, found[0].notesInUse),
              std::make_tuple("/dev/sdb2", "FAT32", "iPod M25 (MA003)", int64_t {2}));
    EXPECT_GT(found[0].freeBytes, 0u);
    EXPECT_EQ(std::tie(found[1].device, found[1].format, found[1].model),
              std::make_tuple("/dev/sdd2", "HFS+", "xA623"));
    EXPECT_EQ(found[2].root, dir / "Volumes" / "Other");
    EXPECT_EQ(std::tie(found[2].device, found[2].model, found[2].format), std::make_tuple("", "", ""));
#ifdef __linux__
    const std::vector<std::vector<std::string>> eject = ejectCommands(found[0]);
    ASSERT_EQ(eject.size(), 2u);
    EXPECT_EQ(eject[0],
              (std::vector<std::string> {"udisksctl", "unmount", "--no-user-interaction", "-b", "/dev/sdb2"}));
    EXPECT_EQ(eject[1][1], "power-off");
    EXPECT_TRUE(ejectCommands(found[2]).empty()) << "no device known, nothing to run";
#endif
    EXPECT_TRUE(findIPods(dir / "missing", {}, 2).empty());
}

// An iPod with 990 notes of other programs: loose notes, folders, a folder
// named like a book.
class IPodBooksTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        makeIPod(dir / "ipod");
        for (int i = 0; i < 980; ++i)
            put(notes() / "Music Notes" / ("n" + std::to_string(i) + ".txt"), "theirs");
        for (int i = 0; i < 9; ++i)
            put(notes() / ("loose" + std::to_string(i) + ".txt"), "theirs");
        put(notes() / "Alice" / "their.txt", "theirs");
        others = contents(notes());
    }
    fs::path notes() const { return dir / "ipod" / "Notes"; }
    // The other programs' files are all there as they were.
    void expectOthersKept()
    {
        const std::map<fs::path, std::string> now = contents(notes());
        for (const auto& [file, bytes] : others) {
            const auto at = now.find(file);
            ASSERT_NE(at, now.end()) << file;
            EXPECT_EQ(at->second, bytes) << file;
        }
    }

    test::TempDir dir;
    std::map<fs::path, std::string> others;
};

TEST_F(IPodBooksTest, SendCopiesTheBookWhenItFitsAndRefusesWhatWouldNotLoadOrIsNotOurs)
{
    makeBook(dir / "books" / "Emma", 4);
    makeBook(dir / "books" / "Big", 20);
    makeBook(dir / "books" / "Alice", 2);
    fs::create_directories(dir / "books" / "Plain");
    put(dir / "books" / "Plain" / "p.txt", "x");
    put(dir / "books" / "Emma" / "notes-of-mine.txt", "not in the record");
    // A copy cut short by a pulled cable, under no book's name.
    makeBook(notes() / ".leafmill-sending", 3);

    struct Case {
        const char* book;
        Outcome outcome;
        int64_t count;
    };
    for (const Case& c : {Case {"Big", Outcome::TooManyNotes, 990 + 21 - 1000}, Case {"Alice", Outcome::NotOurs, 0},
                          Case {"Plain", Outcome::NotABook, 0}, Case {"Emma", Outcome::Done, 4}}) {
        const IPodChange change = sendBook(dir / "books" / c.book, notes());
        EXPECT_EQ(change.outcome, c.outcome) << c.book << " " << change.reason;
        EXPECT_EQ(change.count, c.count) << c.book;
        EXPECT_EQ(change.book, c.book);
    }
    EXPECT_FALSE(fs::exists(notes() / "Big"));
    EXPECT_FALSE(fs::exists(notes() / ".leafmill-sending")) << "the leftover copy went";
    EXPECT_FALSE(fs::exists(notes() / "Emma" / "notes-of-mine.txt")) << "only what the record names is sent";
    EXPECT_EQ(test::readFile(notes() / "Emma" / "Emma3.txt"), "page 3\r\n");
    EXPECT_EQ(test::readFile(notes() / "Emma" / ".leafmill.txt"),
              test::readFile(dir / "books" / "Emma" / ".leafmill.txt"));

    // A book made again replaces the one sent before; the list shows both kinds.
    fs::remove_all(dir / "books" / "Emma");
    makeBook(dir / "books" / "Emma", 2);
    EXPECT_EQ(sendBook(dir / "books" / "Emma" / "", notes()).outcome, Outcome::Done);
    EXPECT_FALSE(fs::exists(notes() / "Emma" / "Emma3.txt"));
    EXPECT_FALSE(fs::exists(notes() / ".leafmill-replaced"));
    const std::vector<BookOnIPod> books = booksOnIPod(notes());
    ASSERT_EQ(books.size(), 3u);
    EXPECT_EQ(std::tie(books[0].name, books[0].notes, books[0].ours), std::make_tuple("Alice", int64_t {1}, false));
    EXPECT_EQ(std::tie(books[1].name, books[1].notes, books[1].ours), std::make_tuple("Emma", int64_t {3}, true));
    EXPECT_EQ(std::tie(books[2].name, books[2].ours), std::make_tuple("Music Notes", false));
    expectOthersKept();
}

TEST_F(IPodBooksTest, RemoveTakesOnlyTheFilesLeafmillWrote)
{
    makeBook(dir / "books" / "Emma", 3);
    makeBook(dir / "books" / "Tom", 2);
    ASSERT_EQ(sendBook(dir / "books" / "Emma", notes()).outcome, Outcome::Done);
    ASSERT_EQ(sendBook(dir / "books" / "Tom", notes()).outcome, Outcome::Done);
    put(notes() / "Tom" / "my own note.txt", "mine");
    EXPECT_EQ(sendBook(dir / "books" / "Tom", notes()).outcome, Outcome::NotOurs) << "a note of the user's is in it";

    IPodChange change = removeBook(notes(), "Emma");
    EXPECT_EQ(std::tie(change.outcome, change.count, change.folderKept),
              std::make_tuple(Outcome::Done, int64_t {3}, false));
    EXPECT_FALSE(fs::exists(notes() / "Emma"));
    change = removeBook(notes(), "Tom");
    EXPECT_EQ(std::tie(change.outcome, change.count, change.folderKept),
              std::make_tuple(Outcome::Done, int64_t {2}, true));
    EXPECT_EQ(contents(notes() / "Tom"), (std::map<fs::path, std::string> {{"my own note.txt", "mine"}}));
    for (const char* name : {"Alice", "Music Notes", "Tom", "..", "../ipod/Notes/Alice", ""})
        EXPECT_EQ(removeBook(notes(), name).outcome, Outcome::NotOurs) << name;
    expectOthersKept();
}

TEST_F(IPodBooksTest, NextVolumeTakesThePlaceOfTheOneOnTheIPod)
{
    // Volumes of 8 notes: 990 + 9 fit, and only one at a time.
    makeBook(dir / "books" / "War", 8, 3);
    makeBook(dir / "books" / "Emma", 2);
    EXPECT_EQ(sendNextVolume(dir / "books" / "Emma", notes()).outcome, Outcome::NoVolumes);
    EXPECT_EQ(sendNextVolume(dir / "books" / "None", notes()).outcome, Outcome::NotABook);
    for (const char* volume : {"War 1", "War 2", "War 3"}) {
        const IPodChange change = sendNextVolume(dir / "books" / "War", notes());
        EXPECT_EQ(std::tie(change.outcome, change.book), std::make_tuple(Outcome::Done, volume)) << change.reason;
        std::vector<std::string> there;
        for (const BookOnIPod& book : booksOnIPod(notes()))
            if (book.ours)
                there.push_back(book.name);
        EXPECT_EQ(there, std::vector<std::string> {volume});
    }
    const IPodChange last = sendNextVolume(dir / "books" / "War", notes());
    EXPECT_EQ(std::tie(last.outcome, last.book), std::make_tuple(Outcome::LastVolume, "War 3"));
    // Sending a book in volumes sends its first.
    ASSERT_EQ(removeBook(notes(), "War 3").outcome, Outcome::Done);
    EXPECT_EQ(sendBook(dir / "books" / "War", notes()).book, "War 1");
    expectOthersKept();
}

}  // namespace
}  // namespace leafmill
