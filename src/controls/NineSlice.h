#pragma once

#include <QRect>
#include <QSize>

#include <span>

class QImage;
class QPainter;

namespace leafmill {

// The nine pieces of a frame drawn from a small image: corners copied, edges
// and centre stretched to the target size.
enum class SliceArea { TopLeft, TopRight, BottomRight, BottomLeft, Top, Right, Bottom, Left, Centre };

struct SlicePiece {
    SliceArea area;
    QRect source;  // in the source image
};

// Where `area` lands on a target of `size` whose corners are `border` pixels square.
QRect sliceDestination(SliceArea area, QSize size, int border);

// Paints the pieces in the order given, each scaled from its source rectangle
// (nearest pixel, so key colours stay exact). Pieces that would be empty on a
// very small target are left out.
void paintNineSlice(QPainter& painter, const QImage& source, QSize size, int border,
                    std::span<const SlicePiece> pieces);

}  // namespace leafmill
