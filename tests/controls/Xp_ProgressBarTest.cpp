// The progress bar rendered for real: which pixels its values paint, and what it stores.
#include "controls/Xp_ProgressBar.h"
#include "PixelCheck.h"
#include "controls/BarImages.h"

#include <QSignalSpy>
#include <QTest>

#include <vector>

namespace leafmill::test {
namespace {

constexpr int MiddleRow = 8;
constexpr unsigned White = 0xFFFFFF;

unsigned fullChunk(int look)
{
    return rgbAt(BarImages::look(look)[2], 7, 0);
}

class ProgressBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bar.resize(293, 17);
        bar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
        frameOnly = bar.image();
    }

    unsigned middle(int x) const { return rgbAt(bar.image(), x, MiddleRow); }
    // The chunks' top row shows the first row of their picture unscaled.
    unsigned top(int x) const { return rgbAt(bar.image(), x, 3); }
    bool emptyFrom(int x) const { return bar.image().copy(x, 3, 290 - x, 11) == frameOnly.copy(x, 3, 290 - x, 11); }
    // Whether the chunks' left edges on the middle row are every 10 pixels from 4 up to `last`, then `cut`.
    bool chunksStartEvery10Upto(int last, int cut = 0) const
    {
        std::vector<int> starts, expected;
        for (int x = 3; x < 290; ++x)
            if (middle(x) != White && middle(x - 1) == White)
                starts.push_back(x);
        for (int x = 4; x <= last; x += 10)
            expected.push_back(x);
        if (cut)
            expected.push_back(cut);
        return starts == expected;
    }

    Xp_ProgressBar bar;
    QImage frameOnly;
};

TEST_F(ProgressBarTest, ChunksGrowFromTheLeftAndTheLastOneIsCut)
{
    bar.setValue(50);
    EXPECT_TRUE(chunksStartEvery10Upto(144));  // the target edge is 146.5
    EXPECT_EQ(top(4), fullChunk(0));
    EXPECT_EQ(rgbAt(bar.image(), 4, 2), 0xEFEFEFu) << "chunks stand 3 pixels below the top";
    EXPECT_TRUE(emptyFrom(152));
    EXPECT_EQ(rgbAt(bar.image(), 292, 16), 0x6B696Bu) << "the frame is stretched to the bar";
    bar.setValue(100);
    EXPECT_TRUE(chunksStartEvery10Upto(274, 284));
    EXPECT_EQ(top(289), fullChunk(0)) << "the cut chunk ends at the frame's inner edge";
}

TEST_F(ProgressBarTest, ALookChangeTakesEffectOnNewChunksAndADecreaseRepaintsFromTheLeft)
{
    bar.setValue(50);
    bar.setProgressLook(7);
    EXPECT_EQ(top(4), fullChunk(0)) << "a new look does not repaint";
    bar.setValue(70);
    EXPECT_EQ(top(144), fullChunk(0));
    EXPECT_EQ(top(154), fullChunk(7));
    bar.setProgressLook(1);
    bar.setValue(30);
    EXPECT_TRUE(chunksStartEvery10Upto(84));
    EXPECT_EQ(top(4), fullChunk(1));
    EXPECT_TRUE(emptyFrom(92));
    bar.setValue(0);
    EXPECT_EQ(bar.image(), frameOnly);
}

TEST(ProgressBarRange, SettersAcceptOnlyWhatTheRangeAllows)
{
    Xp_ProgressBar bar;
    QSignalSpy changed(&bar, &Xp_ProgressBar::PropertyChanged);
    bar.setMinimum(-1);
    bar.setMinimum(101);
    bar.setMaximum(-5);
    bar.setValue(101);
    bar.setValue(-1);
    EXPECT_EQ(bar.value(), 0);
    EXPECT_EQ(bar.minimum(), 0);
    EXPECT_EQ(bar.maximum(), 100);
    EXPECT_EQ(changed.count(), 0);
    bar.setMinimum(100);  // equal to max is allowed
    EXPECT_EQ(changed.count(), 1);
}

TEST(ProgressBarRange, HiddenTinyEmptyAndHugeRangesPaintSoundly)
{
    Xp_ProgressBar bar;
    bar.resize(120, 17);  // hidden: no resize event yet
    bar.setValue(60);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    EXPECT_NE(rgbAt(bar.image(), 4, MiddleRow), White) << "showing does not wipe what was painted";
    // An empty range gives the bare frame, not a fault.
    bar.setMaximum(5);
    bar.setMinimum(5);
    bar.setValue(5);
    EXPECT_TRUE(allPixels(bar.image(), QRect(3, 3, 114, 9), White));
    // A range wider than a pixel count times the value fits in 32 bits.
    bar.setMaximum(2'000'000'000);
    bar.setMinimum(0);
    bar.setValue(1'500'000'000);  // three quarters of 120 pixels: chunks up to x = 84
    EXPECT_NE(rgbAt(bar.image(), 84, MiddleRow), White);
    EXPECT_EQ(rgbAt(bar.image(), 94, MiddleRow), White);
    bar.resize(4, 4);  // smaller than its frame corners
    bar.setValue(100);
    EXPECT_EQ(rgbAt(bar.image(), 0, 0), 0x6B696Bu);
}

}  // namespace
}  // namespace leafmill::test
