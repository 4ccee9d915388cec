#include "controls/ButtonFaces.h"

#include "controls/ColourRamp.h"
#include "controls/NineSlice.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

namespace leafmill::ButtonFaces {

namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr int Last = FaceWidth - 1;
constexpr int Bottom = FaceHeight - 1;

struct FaceColours {
    QRgb ringTop;
    QRgb ringSides;
    QRgb ringBottom;
    std::vector<QRgb> fill;  // rows 0..20, rows 1..19 used
    QRgb innerTop = 0;  // a bright line just inside the ring, 0 for none
    QRgb innerSides = 0;
};

QImage makeFace(const FaceColours& c)
{
    QImage image(FaceWidth, FaceHeight, QImage::Format_RGB32);
    for (int y = 1; y < Bottom; ++y) {
        const QRgb fill = c.fill[static_cast<size_t>(y)];
        const QRgb sides = c.innerSides ? c.innerSides : c.ringSides;
        for (int x = 1; x < Last; ++x) {
            // Columns 1-2 and 15-16 shade towards the ring, the middle stays even.
            const int fromEdge = std::min(x, Last - x);
            const double shade = fromEdge == 1 ? 0.35 : fromEdge == 2 ? 0.12 : 0.0;
            image.setPixel(x, y, blendColour(fill, sides, shade));
        }
        if (c.innerSides) {
            image.setPixel(1, y, c.innerSides);
            image.setPixel(Last - 1, y, c.innerSides);
        }
        image.setPixel(0, y, c.ringSides);
        image.setPixel(Last, y, c.ringSides);
    }
    if (c.innerTop)
        for (int x = 1; x < Last; ++x)
            image.setPixel(x, 1, c.innerTop);
    for (int x = 0; x <= Last; ++x) {
        image.setPixel(x, 0, c.ringTop);
        image.setPixel(x, Bottom, c.ringBottom);
    }
    // Rounded corners: a white corner pixel between two half-white neighbours.
    for (auto [x, y, dx, dy, ring] : {std::tuple {0, 0, 1, 1, c.ringTop},
                                      {Last, 0, -1, 1, c.ringTop},
                                      {0, Bottom, 1, -1, c.ringBottom},
                                      {Last, Bottom, -1, -1, c.ringBottom}}) {
        image.setPixel(x, y, White);
        image.setPixel(x + dx, y, blendColour(ring, White, 0.5));
        image.setPixel(x, y + dy, blendColour(c.ringSides, White, 0.5));
    }
    return image;
}

std::array<QImage, 4> makeFaces()
{
    const FaceColours normal {0xFF9A9A9A, 0xFFAAAAAA, 0xFFBFBFBF,
                              colourRamp({{1, 0xFFF0F0F0},
                                          {9, 0xFFFFFFFF},
                                          {10, 0xFFFFFFFF},
                                          {11, 0xFFE5E5E5},
                                          {17, 0xFFF5F5F5},
                                          {18, 0xFFEDEDED},
                                          {19, 0xFFDCDCDC}},
                                         FaceHeight)};
    const FaceColours pressed {
        0xFF5D89BF, 0xFF5D89BF,
        0xFF5D89BF, colourRamp({{2, 0xFF8FCBFF}, {10, 0xFF60BAFF}, {11, 0xFF429BFF}, {19, 0xFF99CDFF}}, FaceHeight),
        0xFF3793FA, 0xFF3793FA};
    const FaceColours disabled {0xFF878787, 0xFFA1A1A1, 0xFFBFBFBF,
                                colourRamp({{1, 0xFFD4D4D4},
                                            {9, 0xFFECECEC},
                                            {10, 0xFFECECEC},
                                            {11, 0xFFD9D9D9},
                                            {17, 0xFFF0F0F0},
                                            {18, 0xFFEAEAEA},
                                            {19, 0xFFDADADA}},
                                           FaceHeight)};
    const FaceColours hover {
        0xFF406CA1,
        0xFF406CA1,
        0xFF406CA1,
        colourRamp(
            {{1, 0xFFCEE8FF}, {9, 0xFF92C6FF}, {10, 0xFF92C6FF}, {11, 0xFF71ADEF}, {18, 0xFF9CDBF9}, {19, 0xFF96D6F5}},
            FaceHeight),
        0,
        0xFF61A0E8};
    return {makeFace(normal), makeFace(pressed), makeFace(disabled), makeFace(hover)};
}

// The face's pieces in painting order, with their places in the face picture.
constexpr SlicePiece FacePieces[] = {
    {SliceArea::TopLeft, {0, 0, 3, 3}},       {SliceArea::TopRight, {15, 0, 3, 3}},
    {SliceArea::BottomRight, {15, 18, 3, 3}}, {SliceArea::BottomLeft, {0, 18, 3, 3}},
    {SliceArea::Top, {3, 0, 12, 3}},          {SliceArea::Right, {15, 3, 3, 15}},
    {SliceArea::Left, {0, 3, 3, 15}},         {SliceArea::Bottom, {3, 18, 12, 3}},
    {SliceArea::Centre, {3, 3, 12, 15}},
};

}  // namespace

const QImage& face(int state)
{
    static const auto faces = makeFaces();
    return faces[static_cast<size_t>(state)];
}

void paint(QPainter& painter, const QImage& faceImage, QSize size, const QColor& backColour)
{
    paintNineSlice(painter, faceImage, size, 3, FacePieces);
    const int w = size.width();
    const int h = size.height();
    if (w <= 0 || h <= 0)
        return;
    painter.save();
    painter.setPen(Qt::NoPen);
    for (auto [x, y] : {std::pair {0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}})
        painter.fillRect(x, y, 1, 1, backColour);
    painter.restore();
}

}  // namespace leafmill::ButtonFaces
