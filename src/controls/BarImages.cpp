#include "controls/BarImages.h"

#include "controls/ColourRamp.h"

#include <utility>
#include <vector>

namespace leafmill::BarImages {

namespace {

constexpr QRgb White = 0xFFFFFFFF;

QImage makeFrame()
{
    constexpr int w = 59;
    constexpr int h = 13;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(White);
    auto ring = [&](int inset, QRgb top, QRgb sides, QRgb bottom) {
        for (int x = inset; x < w - inset; ++x) {
            image.setPixel(x, inset, top);
            image.setPixel(x, h - 1 - inset, bottom);
        }
        for (int y = inset + 1; y < h - 1 - inset; ++y) {
            image.setPixel(inset, y, sides);
            image.setPixel(w - 1 - inset, y, sides);
        }
    };
    ring(0, 0xFF6B696B, 0xFF6B696B, 0xFF6B696B);
    ring(1, 0xFFBDBEBD, 0xFFBDBEBD, 0xFFEFEFEF);
    for (auto [x, y] : {std::pair {1, 1}, {w - 2, 1}, {1, h - 2}, {w - 2, h - 2}})
        image.setPixel(x, y, 0xFF737573);
    ring(2, 0xFFEFEFEF, 0xFFEFEFEF, 0xFFEFEFEF);
    return image;
}

// keys: the full chunk's colours at their rows (light top, dark middle, lighter bottom).
std::array<QImage, 3> makeLook(std::initializer_list<std::pair<int, QRgb>> keys)
{
    const std::vector<QRgb> rows = colourRamp(keys, ChunkHeight);
    std::array<QImage, 3> images;
    // Whiteness per column: image 0 fades from near-white to where image 1
    // starts, image 1 from there to the full colour, image 2 is full colour.
    auto whiteness = [](int image, int column) {
        const double t = double(column) / (ChunkWidth - 1);
        if (image == 0)
            return 0.9 - 0.4 * t;
        if (image == 1)
            return 0.5 - 0.5 * t;
        return 0.0;
    };
    for (int i = 0; i < 3; ++i) {
        QImage image(ChunkWidth, ChunkHeight, QImage::Format_RGB32);
        for (int y = 0; y < ChunkHeight; ++y)
            for (int x = 0; x < ChunkWidth; ++x)
                image.setPixel(x, y, blendColour(rows[static_cast<size_t>(y)], White, whiteness(i, x)));
        images[static_cast<size_t>(i)] = image;
    }
    return images;
}

std::array<std::array<QImage, 3>, LookCount> makeLooks()
{
    return {
        makeLook({{0, 0xFF95E996}, {5, 0xFF29D22C}, {9, 0xFF75E277}}),  // master
        makeLook({{0, 0xFF409FFF}, {5, 0xFF0076EC}, {9, 0xFF3399FF}}),  // blue
        makeLook({{0, 0xFF5791B9}, {5, 0xFF073A2B}, {9, 0xFF36749E}}),  // bluemet
        makeLook({{0, 0xFFECD39F}, {5, 0xFFD8A62F}, {9, 0xFFE2C366}}),  // goldmet
        makeLook({{0, 0xFF95B38E}, {2, 0xFFC3E3BA}, {6, 0xFF76A66A}, {9, 0xFF98C88C}}),  // grmet
        makeLook({{0, 0xFFCACACA}, {5, 0xFF6C6C6C}, {9, 0xFFA7A7A7}}),  // greymet
        makeLook({{0, 0xFFFFE996}, {5, 0xFFFFD22C}, {9, 0xFFFFE277}}),  // orangemet
        makeLook({{0, 0xFFE9A67F}, {4, 0xFFE38040}, {9, 0xFFEBB89A}}),  // redmet
    };
}

}  // namespace

const QImage& frame()
{
    static const QImage image = makeFrame();
    return image;
}

const QImage& blank()
{
    static const QImage image = [] {
        QImage white(ChunkWidth, ChunkHeight, QImage::Format_RGB32);
        white.fill(White);
        return white;
    }();
    return image;
}

const std::array<QImage, 3>& look(int number)
{
    static const auto looks = makeLooks();
    return looks[static_cast<size_t>(number)];
}

}  // namespace leafmill::BarImages
