#pragma once

#include <QImage>
#include <QRect>

#include <gtest/gtest.h>

namespace leafmill::test {

// The colour of one pixel as RRGGBB, without alpha, for readable assertions.
inline unsigned rgbAt(const QImage& image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFFu;
}

// Whether every pixel of `area` has the colour `rgb`.
inline bool allPixels(const QImage& image, const QRect& area, unsigned rgb)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (rgbAt(image, x, y) != rgb)
                return false;
    return true;
}

}  // namespace leafmill::test
