#include "targets/notes/ReaderLimits.h"
#include "lang/LanguageTable.h"
#include "text/CodePage.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace leafmill {
namespace {

namespace fs = std::filesystem;

TEST(ReaderLimitsTest, TheForecastCountsTheBooksNotesAndTheRoomTheReaderLeaves)
{
    const struct {
        std::vector<std::size_t> sourceSizes;
        int32_t pageSize;
        bool contents;
        const char* outputFolder;  // under the temporary folder
        int notesElsewhere;  // already on the iPod, outside the book's folder
        int notesOfTheBook;  // an earlier run's pages, which the run replaces
        int64_t notes, room;
    } cases[] = {
        // Every book holds the record of what Leafmill wrote: one note more.
        {{8001, 0}, 4000, false, "plain", 0, 0, 5, 1000},  // pages round up, an empty source is a note
        {{4000}, 4000, true, "plain/Notes", 0, 0, 3, 1000},  // the contents is a note
        {{9000, 9000}, 0, true, "plain", 0, 0, 3, 1000},  // whole files are a note each
        {{100}, 4000, false, "ipod/Notes", 990, 7, 2, 10},  // the iPod's other notes take room
        {{100}, 4000, false, "ipod/Notes/Book", 10, 0, 2, 990},  // a folder deep in Notes counts all of Notes
        {{100}, 4000, false, "ipod/Notes/", 1200, 0, 2, 0},  // a full iPod leaves no room
    };
    for (const auto& c : cases) {
        test::TempDir dir;
        // A volume with the iPod's folders; "plain" is a folder beside it.
        fs::create_directories(dir / "ipod" / "iPod_Control");
        fs::create_directories(dir / "ipod" / "Notes" / "Book");
        fs::create_directories(dir / "plain" / "Notes");
        for (int i = 0; i < c.notesElsewhere; ++i)
            test::writeFile(dir / "ipod" / "Notes" / ("n" + std::to_string(i)), "x");
        for (int i = 0; i < c.notesOfTheBook; ++i)
            test::writeFile(dir / "ipod" / "Notes" / "Book" / ("Book" + std::to_string(i) + ".txt"), "x");
        Settings settings;
        settings.CutTypeTable = {{c.pageSize, 0}};
        settings.NotesReader.Contents = c.contents;
        std::vector<std::string> sources;
        for (std::size_t i = 0; i < c.sourceSizes.size(); ++i) {
            sources.push_back((dir / ("s" + std::to_string(i))).string());
            test::writeFile(sources.back(), std::string(c.sourceSizes[i], 'x'));
        }
        const NotesForecast forecast = forecastNotes(settings, *CodePage::open("windows-1252"), LanguageTable(),
                                                     sources, (dir / c.outputFolder).string(), "Book");
        EXPECT_EQ(forecast.notes, c.notes) << c.outputFolder;
        EXPECT_EQ(forecast.room, c.room) << c.outputFolder;
        EXPECT_EQ(forecast.tooMany(), c.notes > c.room);
    }
}

TEST(ReaderLimitsTest, PagesOverTheReadersBytesAreToldAndTheNotesFolderIsFoundOnlyOnAnIPod)
{
    Settings settings;
    for (const auto& [size, over] : {std::pair {4096, false}, {4097, true}, {0, false}}) {
        settings.CutTypeTable = {{size, 0}};
        EXPECT_EQ(pagesOverReaderLimit(settings), over) << size;
    }
    test::TempDir dir;
    fs::create_directories(dir / "iPod_Control");
    fs::create_directories(dir / "Notes" / "a" / "b");
    fs::create_directories(dir / "other" / "Notes");
    EXPECT_EQ(iPodNotesFolder(dir / "Notes" / "a" / "b"), (dir / "Notes").lexically_normal());
    EXPECT_EQ(iPodNotesFolder(dir / "other" / "Notes"), fs::path());
    EXPECT_EQ(iPodNotesFolder(dir / "iPod_Control"), fs::path());
}

TEST(ReaderLimitsTest, ConnectedIPodsAreFoundUpToTheDepthBelowTheMountPlaces)
{
    test::TempDir dir;
    for (const char* volume : {"media/me/IPOD", "mnt/Z", "media/a/b/DEEP"}) {
        fs::create_directories(dir / volume / "iPod_Control");
        fs::create_directories(dir / volume / "Notes");
    }
    fs::create_directories(dir / "media" / "me" / "USB" / "Notes");  // no iPod_Control: a plain stick
    const std::vector<IPodNotes> found = connectedIPods({dir / "media", dir / "mnt"}, 2);
    std::vector<fs::path> notes;
    for (const IPodNotes& iPod : found) {
        notes.push_back(iPod.notes);
        EXPECT_GT(iPod.freeBytes, 0u);
    }
    EXPECT_EQ(notes, (std::vector<fs::path> {dir / "media" / "me" / "IPOD" / "Notes", dir / "mnt" / "Z" / "Notes"}));
    EXPECT_TRUE(connectedIPods({dir / "media"}, 0).empty());
}

}  // namespace
}  // namespace leafmill
