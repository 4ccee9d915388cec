// The progress bar rendered for real: which pixels its values paint, and what it stores.
#include "PixelCheck.h"

#include "controls/BarImages.h"
#include "controls/Xp_ProgressBar.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace leafmill::test {
namespace {

constexpr int MiddleRow = 8;
constexpr unsigned White = 0xFFFFFF;

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

class ProgressBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bar.resize(293, 17);
        bar.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
        frameOnly = bar.image();
    }

    const QImage& image() const { return bar.image(); }
    unsigned middle(int x) const { return rgbAt(image(), x, MiddleRow); }
    // The chunks' top row shows the first row of their picture unscaled.
    unsigned top(int x) const { return rgbAt(image(), x, 3); }
    // Whether `area` shows nothing but the empty frame.
    bool emptyIn(const QRect& area) const { return image().copy(area) == frameOnly.copy(area); }
    // The left edges of the chunks on the middle row, read from the pixels.
    std::vector<int> chunkStarts() const
    {
        std::vector<int> starts;
        for (int x = 3; x < 290; ++x)
            if (middle(x) != White && middle(x - 1) == White)
                starts.push_back(x);
        return starts;
    }
    static unsigned fullChunk(int look) { return rgbAt(BarImages::look(look)[2], 7, 0); }

    Xp_ProgressBar bar;
    QImage frameOnly;
};

std::vector<int> every10(int from, int to)
{
    std::vector<int> out;
    for (int x = from; x <= to; x += 10)
        out.push_back(x);
    return out;
}

TEST_F(ProgressBarTest, ResizingPaintsOnlyTheFrame)
{
    EXPECT_EQ(image().size(), QSize(293, 17));
    EXPECT_EQ(rgbAt(image(), 0, 0), 0x6B696Bu);
    EXPECT_EQ(rgbAt(image(), 292, 16), 0x6B696Bu);
    EXPECT_EQ(rgbAt(image(), 1, 1), 0x737573u);
    EXPECT_EQ(rgbAt(image(), 291, 15), 0x737573u);
    EXPECT_EQ(rgbAt(image(), 150, 1), 0xBDBEBDu);
    EXPECT_EQ(rgbAt(image(), 150, 15), 0xEFEFEFu);
    EXPECT_EQ(rgbAt(image(), 290, 8), 0xEFEFEFu);
    EXPECT_EQ(rgbAt(image(), 2, 8), 0xEFEFEFu);
    // One ring at the bottom, and an interior white down to it.
    EXPECT_EQ(rgbAt(image(), 150, 14), 0xEFEFEFu);
    EXPECT_TRUE(allPixels(image(), QRect(3, 3, 287, 11), White));
}

TEST_F(ProgressBarTest, ChunksGrowFromTheLeftAndTheLastOneIsCut)
{
    bar.setValue(50);
    EXPECT_EQ(chunkStarts(), every10(4, 144));  // the target edge is 146.5
    EXPECT_EQ(top(4), fullChunk(0));
    EXPECT_EQ(rgbAt(image(), 11, 13), rgbAt(BarImages::look(0)[2], 7, 9));
    EXPECT_EQ(rgbAt(image(), 4, 2), 0xEFEFEFu) << "chunks stand 3 pixels below the top";
    EXPECT_EQ(rgbAt(image(), 4, 14), 0xEFEFEFu) << "and end 3 above the bottom";
    EXPECT_EQ(middle(3), White);
    EXPECT_EQ(middle(12), White);
    EXPECT_EQ(middle(13), White);
    EXPECT_TRUE(emptyIn(QRect(152, 3, 138, 11)));

    bar.setValue(100);
    std::vector<int> all = every10(4, 274);
    all.push_back(284);
    EXPECT_EQ(chunkStarts(), all);
    EXPECT_TRUE(allPixels(image(), QRect(284, 3, 6, 1), fullChunk(0)));
    EXPECT_EQ(top(289), fullChunk(0)) << "the cut chunk ends at the frame's inner edge";
    EXPECT_EQ(middle(290), 0xEFEFEFu);
}

TEST_F(ProgressBarTest, OutOfRangeAndEqualValuesPaintNothing)
{
    bar.setValue(30);
    QCoreApplication::processEvents();
    const QImage before = image();
    QSignalSpy changed(&bar, &Xp_ProgressBar::PropertyChanged);
    PaintCounter paints(&bar);
    for (int v : {101, -1, 30}) {
        bar.setValue(v);
        EXPECT_EQ(bar.value(), 30) << v;
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(image(), before);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(paints.count, 0) << "nothing changed, so nothing is repainted";

    bar.setValue(31);  // no new chunk: the target edge 90.8 is still below the next chunk at 94
    QCoreApplication::processEvents();
    EXPECT_EQ(image(), before);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(paints.count, 0);

    bar.setValue(40);
    QCoreApplication::processEvents();
    EXPECT_EQ(paints.count, 1);
}

TEST_F(ProgressBarTest, ADecreaseRepaintsFromTheLeftAndMinLeavesTheFrame)
{
    bar.setValue(80);
    bar.setProgressLook(1);
    EXPECT_EQ(top(4), fullChunk(0)) << "a new look does not repaint";
    bar.setValue(30);
    EXPECT_EQ(chunkStarts(), every10(4, 84));
    EXPECT_EQ(top(4), fullChunk(1)) << "repainted from the left in the new look";
    EXPECT_EQ(top(84), fullChunk(1));
    EXPECT_TRUE(emptyIn(QRect(92, 3, 198, 11)));

    bar.setValue(0);
    EXPECT_EQ(image(), frameOnly);
}

TEST_F(ProgressBarTest, OldChunksKeepTheirColoursAfterALookChange)
{
    bar.setValue(50);
    bar.setProgressLook(7);
    bar.setValue(70);
    EXPECT_EQ(top(144), fullChunk(0));
    EXPECT_EQ(top(154), fullChunk(7));
    EXPECT_EQ(top(204), fullChunk(7));
    bar.setProgressLook(12);  // no such look: the chunks keep the salmon one
    EXPECT_EQ(bar.ProgressLook(), 12);
    bar.setValue(80);
    EXPECT_EQ(top(224), fullChunk(7));
}

TEST_F(ProgressBarTest, AFullBarPaintsNothingMoreUntilAReset)
{
    bar.setValue(97);  // the target edge 284.2 brings the cut last chunk
    EXPECT_EQ(chunkStarts().back(), 284);
    bar.setProgressLook(5);
    bar.setValue(100);
    EXPECT_EQ(top(284), fullChunk(0)) << "the cut chunk is not painted again";
    EXPECT_EQ(top(274), fullChunk(0));
}

TEST_F(ProgressBarTest, TheMarqueeCreepsFivePixelsPerValueAndIsWipedAtTheEnd)
{
    bar.setBarStyle(1);
    bar.setValue(1);
    const unsigned full = fullChunk(0);
    // Three strips 4 wide, pale to full, at a pitch of 5.
    EXPECT_NE(middle(4), White);
    EXPECT_NE(middle(9), White);
    EXPECT_EQ(top(14), full);
    EXPECT_EQ(top(17), full);
    EXPECT_EQ(middle(8), White);
    EXPECT_EQ(middle(18), White);
    EXPECT_GT(qGray(image().pixel(4, MiddleRow)), qGray(image().pixel(9, MiddleRow)));
    EXPECT_GT(qGray(image().pixel(9, MiddleRow)), qGray(image().pixel(14, MiddleRow)));

    bar.setValue(2);
    EXPECT_TRUE(allPixels(image(), QRect(4, 3, 4, 11), White)) << "the strip left behind is erased";
    EXPECT_NE(middle(9), White);
    EXPECT_EQ(top(19), full);
    EXPECT_EQ(top(22), full);
    EXPECT_EQ(middle(23), White);

    // Moves 3 to 58 bring the block to x = 289, where it is wiped.
    for (int v = 3; v <= 57; ++v)
        bar.setValue(v);
    EXPECT_NE(middle(284), White);
    bar.setValue(58);
    EXPECT_TRUE(allPixels(image(), QRect(3, 3, 287, 11), White)) << "no trail behind the block";
    bar.setValue(59);  // and starts again at x = 2, inside the frame
    EXPECT_EQ(top(12), full);
    EXPECT_EQ(middle(6), White);
    bar.setValue(60);
    EXPECT_TRUE(allPixels(image(), QRect(2, 3, 1, 11), 0xEFEFEFu)) << "the frame stays whole";
    EXPECT_TRUE(allPixels(image(), QRect(3, 3, 4, 11), White));

    bar.setValue(100);  // max: only the frame, and the next move starts at x = 4
    EXPECT_EQ(image(), frameOnly);
    bar.setValue(10);
    EXPECT_EQ(top(14), full);
    EXPECT_EQ(middle(13), White);
}

TEST(ProgressBarRange, SettersAcceptOnlyWhatTheRangeAllows)
{
    Xp_ProgressBar bar;
    QSignalSpy changed(&bar, &Xp_ProgressBar::PropertyChanged);
    bar.setMinimum(-1);
    bar.setMinimum(101);
    bar.setMaximum(-5);
    EXPECT_EQ(bar.minimum(), 0);
    EXPECT_EQ(bar.maximum(), 100);
    EXPECT_EQ(changed.count(), 0);
    bar.setMinimum(100);  // equal to max is allowed
    bar.setMaximum(100);
    bar.setBarStyle(-3);
    bar.setProgressLook(2);
    QStringList names;
    for (const auto& call : changed)
        names << call.at(0).toString();
    EXPECT_EQ(names, (QStringList {"Min", "Max", "Style", "ProgressLook"}));
    EXPECT_EQ(bar.barStyle(), -3);
}

TEST(ProgressBarRange, HiddenTinyEmptyAndHugeRangesPaintSoundly)
{
    Xp_ProgressBar bar;
    bar.resize(120, 17);  // hidden: no resize event yet
    bar.setValue(60);
    EXPECT_EQ(bar.image().size(), QSize(120, 17));
    EXPECT_NE(rgbAt(bar.image(), 4, MiddleRow), White);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    EXPECT_NE(rgbAt(bar.image(), 4, MiddleRow), White) << "showing does not wipe what was painted";

    // Stored data may hold an empty range; reaching it gives the bare frame, not a fault.
    PropertyBag empty;
    empty.write("Min", 5, 0);
    empty.write("Max", 5, 100);
    bar.ReadProperties(empty);
    bar.setValue(5);
    EXPECT_EQ(bar.value(), 5);
    EXPECT_TRUE(allPixels(bar.image(), QRect(3, 3, 114, 9), White));

    // A range wider than a pixel count times the value fits in 32 bits.
    PropertyBag huge;
    huge.write("Max", 2'000'000'000, 100);
    bar.ReadProperties(huge);
    bar.setValue(1'500'000'000);  // three quarters of 120 pixels: chunks up to x = 84
    EXPECT_NE(rgbAt(bar.image(), 84, MiddleRow), White);
    EXPECT_EQ(rgbAt(bar.image(), 94, MiddleRow), White);

    Xp_ProgressBar tiny;  // smaller than its frame corners
    tiny.resize(4, 4);
    tiny.setValue(100);
    tiny.setBarStyle(1);
    tiny.setValue(50);
    EXPECT_EQ(tiny.image().size(), QSize(4, 4));
    EXPECT_EQ(rgbAt(tiny.image(), 0, 0), 0x6B696Bu);
}

TEST(ProgressBarProperties, LoadTakesValuesAsTheyAreAndSaveSkipsDefaults)
{
    PropertyBag stored;
    stored.write("min", 50, 0);  // the keys match whatever their case
    stored.write("MAX", 10, 100);
    stored.write("value", 40, 0);
    stored.write("style", 2, 0);
    stored.write("progresslook", 3, 0);
    Xp_ProgressBar bar;
    QSignalSpy changed(&bar, &Xp_ProgressBar::PropertyChanged);
    bar.ReadProperties(stored);
    EXPECT_EQ(bar.minimum(), 50) << "no checks on load";
    EXPECT_EQ(bar.maximum(), 10);
    EXPECT_EQ(bar.value(), 40);
    EXPECT_EQ(bar.barStyle(), 2);
    EXPECT_EQ(bar.ProgressLook(), 3);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).toString(), "ProgressLook");

    PropertyBag saved;
    bar.WriteProperties(saved);
    EXPECT_EQ(saved.names(), (QStringList {"Min", "Max", "Value", "Style", "ProgressLook"}));
    EXPECT_EQ(saved.read("Value", 0).toInt(), 40);

    PropertyBag defaults;
    Xp_ProgressBar(nullptr).WriteProperties(defaults);
    EXPECT_TRUE(defaults.names().isEmpty());
}

TEST(ProgressBarProperties, ALoadedValueIsNotPaintedUntilItChanges)
{
    PropertyBag stored;
    stored.write("Value", 40, 0);
    stored.write("ProgressLook", 1, 0);
    Xp_ProgressBar bar;
    bar.ReadProperties(stored);
    bar.resize(293, 17);
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    EXPECT_TRUE(allPixels(bar.image(), QRect(3, 3, 287, 9), White));
    bar.setValue(50);
    const unsigned blue = rgbAt(BarImages::look(1)[2], 7, 0);
    EXPECT_EQ(rgbAt(bar.image(), 4, 3), blue) << "painted from the left";
    EXPECT_EQ(rgbAt(bar.image(), 144, 3), blue);
    EXPECT_EQ(rgbAt(bar.image(), 154, 3), White);
}

}  // namespace
}  // namespace leafmill::test
