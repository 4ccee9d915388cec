// The pictures the controls draw themselves from.
#include "PixelCheck.h"
#include "controls/BarImages.h"
#include "controls/ButtonFaces.h"

#include <gtest/gtest.h>

namespace leafmill::test {
namespace {

TEST(BarImages, TheFrameHasItsOutlineBevelRingAndWhiteInside)
{
    const QImage& frame = BarImages::frame();
    ASSERT_EQ(frame.size(), QSize(59, 13));
    const struct {
        int x, y;
        unsigned rgb;
    } keys[] = {
        {0, 0, 0x6B696B},  {58, 12, 0x6B696B}, {1, 1, 0x737573},   {57, 11, 0x737573},  // outline, corners
        {30, 1, 0xBDBEBD}, {1, 6, 0xBDBEBD},   {30, 11, 0xEFEFEF}, {2, 6, 0xEFEFEF},  // bevel, inner ring
    };
    for (const auto& k : keys)
        EXPECT_EQ(rgbAt(frame, k.x, k.y), k.rgb) << k.x << "," << k.y;
    EXPECT_TRUE(allPixels(frame, QRect(3, 3, 53, 7), 0xFFFFFF));
    EXPECT_TRUE(allPixels(BarImages::blank(), QRect(0, 0, 8, 10), 0xFFFFFF));
}

TEST(BarImages, EveryLookHasItsKeyColoursAndFadesInFromPale)
{
    const struct {
        int look;
        unsigned top;
        int darkRow;
        unsigned dark;
        unsigned bottom;
    } keys[] = {
        {0, 0x95E996, 5, 0x29D22C, 0x75E277}, {1, 0x409FFF, 5, 0x0076EC, 0x3399FF},
        {2, 0x5791B9, 5, 0x073A2B, 0x36749E}, {3, 0xECD39F, 5, 0xD8A62F, 0xE2C366},
        {4, 0x95B38E, 6, 0x76A66A, 0x98C88C}, {5, 0xCACACA, 5, 0x6C6C6C, 0xA7A7A7},
        {6, 0xFFE996, 5, 0xFFD22C, 0xFFE277}, {7, 0xE9A67F, 4, 0xE38040, 0xEBB89A},
    };
    for (const auto& k : keys) {
        const auto& images = BarImages::look(k.look);
        const QImage& full = images[2];
        EXPECT_EQ(rgbAt(full, 7, 0), k.top) << "look " << k.look;
        EXPECT_EQ(rgbAt(full, 7, k.darkRow), k.dark) << "look " << k.look;
        EXPECT_EQ(rgbAt(full, 7, 9), k.bottom) << "look " << k.look;
        // Image 0 fades in from pale to where image 1 starts, which ends in the full colour.
        EXPECT_EQ(rgbAt(images[1], 7, k.darkRow), k.dark) << "look " << k.look;
        EXPECT_EQ(rgbAt(images[0], 7, k.darkRow), rgbAt(images[1], 0, k.darkRow)) << "look " << k.look;
        EXPECT_GT(qGray(images[0].pixel(0, k.darkRow)), qGray(images[1].pixel(0, k.darkRow))) << "look " << k.look;
    }
    EXPECT_EQ(rgbAt(BarImages::look(4)[2], 7, 2), 0xC3E3BAu);  // the sage look's light row
}

TEST(ButtonFaces, EveryFaceHasItsRingFillAndRoundedCorners)
{
    const struct {
        int state;
        unsigned ringTop, ringBottom, middle, innerSide;
    } keys[] = {
        {0, 0x9A9A9A, 0xBFBFBF, 0xFFFFFF, 0},
        {1, 0x5D89BF, 0x5D89BF, 0x60BAFF, 0x3793FA},  // pressed: bright inner line
        {2, 0x878787, 0xBFBFBF, 0xECECEC, 0},
        {3, 0x406CA1, 0x406CA1, 0x92C6FF, 0x61A0E8},  // hover: lighter sides
    };
    for (const auto& k : keys) {
        const QImage& face = ButtonFaces::face(k.state);
        ASSERT_EQ(face.size(), QSize(18, 21));
        EXPECT_EQ(rgbAt(face, 8, 0), k.ringTop) << "face " << k.state;
        EXPECT_EQ(rgbAt(face, 8, 20), k.ringBottom) << "face " << k.state;
        EXPECT_TRUE(allPixels(face, QRect(3, 10, 12, 1), k.middle)) << "face " << k.state;
        if (k.innerSide) {
            EXPECT_EQ(rgbAt(face, 1, 8), k.innerSide) << "face " << k.state;
        }
        for (auto [x, y] : {std::pair {0, 0}, {17, 0}, {0, 20}, {17, 20}})
            EXPECT_EQ(rgbAt(face, x, y), 0xFFFFFFu) << "corner of face " << k.state;
        EXPECT_NE(rgbAt(face, 1, 0), k.ringTop) << "corner neighbour blends ring and white";
    }
}

}  // namespace
}  // namespace leafmill::test
