// The pages' sizes and resolutions read from DjVu documents' own chunks,
// against what djvudump (djvulibre-bin) shows of the fixtures.
#include "TestSupport.h"

#include "extract/djvu/PageInfo.h"

#include <gtest/gtest.h>

namespace {

using leafmill::extract::djvu::bundledFileOffsets;
using leafmill::extract::djvu::pageSizeAt;

const std::filesystem::path kFixtures = LEAFMILL_FIXTURES;

std::pair<int, int> sizeAt(std::string_view bytes, std::size_t offset)
{
    const auto page = pageSizeAt(bytes, offset);
    return page ? std::pair(page->height, page->dpi) : std::pair(-1, -1);
}

TEST(DjvuPageInfo, ReadsEachPageOfABundledDocument)
{
    // Pages of 100 and 200 dpi in turn; a shared annotation file is no page.
    const std::string story = leafmill::test::readFile(kFixtures / "story.djvu");
    const std::vector<std::size_t> offsets = bundledFileOffsets(story);
    ASSERT_EQ(offsets.size(), 15u);
    for (std::size_t k = 0; k < offsets.size(); ++k)
        EXPECT_EQ(sizeAt(story, offsets[k]), k % 2 ? std::pair(2200, 200) : std::pair(1100, 100)) << k;
    const std::string cjk = leafmill::test::readFile(kFixtures / "cjk.djvu");
    ASSERT_EQ(bundledFileOffsets(cjk).size(), 2u);
    EXPECT_EQ(sizeAt(cjk, bundledFileOffsets(cjk)[0]), std::pair(-1, -1));
    EXPECT_EQ(sizeAt(cjk, bundledFileOffsets(cjk)[1]), std::pair(2480, 300));

    // One page on its own is a document of its own.
    const std::size_t second = offsets[1];
    const std::string page = "AT&T" + story.substr(second, offsets[2] - second);
    EXPECT_TRUE(bundledFileOffsets(page).empty());
    EXPECT_EQ(sizeAt(page, 4), std::pair(2200, 200));
}

TEST(DjvuPageInfo, DamagedChunksGiveNothing)
{
    const std::string story = leafmill::test::readFile(kFixtures / "story.djvu");
    const std::size_t first = bundledFileOffsets(story)[0];
    EXPECT_EQ(sizeAt(story.substr(0, first + 24), first), std::pair(-1, -1));  // INFO cut short
    EXPECT_EQ(sizeAt(story, first + 1), std::pair(-1, -1));
    std::string noResolution = story;
    noResolution[first + 27] = '\xFF';  // the resolution's high byte: none given
    EXPECT_EQ(sizeAt(noResolution, first), std::pair(1100, 300));
    std::string shared = story;
    shared.replace(first + 8, 4, "DJVI");  // a file pages include holds no page, whatever its chunks
    EXPECT_EQ(sizeAt(shared, first), std::pair(-1, -1));
    std::string indirect = story;
    indirect[24] = 0x01;  // the directory of a document whose files lie apart
    EXPECT_TRUE(bundledFileOffsets(indirect).empty());
    EXPECT_TRUE(bundledFileOffsets(story.substr(0, 40)).empty());
}

}  // namespace
