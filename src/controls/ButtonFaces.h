#pragma once

#include <QColor>
#include <QImage>
#include <QSize>

class QPainter;

namespace leafmill {

// The command button's face pictures, drawn once in code from their key colours.
namespace ButtonFaces {

inline constexpr int FaceWidth = 18;
inline constexpr int FaceHeight = 21;

// Face 0 normal, 1 pressed, 2 disabled, 3 hover: a ring with rounded corners
// (white corner pixel, blended neighbours) around rows of one colour each.
const QImage& face(int state);

// Paints `face` stretched to `size` in nine pieces, then sets the four
// outermost corner pixels to `backColour` so the corners look rounded on the host.
void paint(QPainter& painter, const QImage& face, QSize size, const QColor& backColour);

}  // namespace ButtonFaces

}  // namespace leafmill
