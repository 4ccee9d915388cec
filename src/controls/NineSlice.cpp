#include "controls/NineSlice.h"

#include <QImage>
#include <QPainter>

namespace leafmill {

QRect sliceDestination(SliceArea area, QSize size, int border)
{
    const int w = size.width();
    const int h = size.height();
    const int inner_w = w - 2 * border;
    const int inner_h = h - 2 * border;
    switch (area) {
    case SliceArea::TopLeft:
        return {0, 0, border, border};
    case SliceArea::TopRight:
        return {w - border, 0, border, border};
    case SliceArea::BottomRight:
        return {w - border, h - border, border, border};
    case SliceArea::BottomLeft:
        return {0, h - border, border, border};
    case SliceArea::Top:
        return {border, 0, inner_w, border};
    case SliceArea::Right:
        return {w - border, border, border, inner_h};
    case SliceArea::Bottom:
        return {border, h - border, inner_w, border};
    case SliceArea::Left:
        return {0, border, border, inner_h};
    case SliceArea::Centre:
        return {border, border, inner_w, inner_h};
    }
    return {};
}

void paintNineSlice(QPainter& painter, const QImage& source, QSize size, int border, std::span<const SlicePiece> pieces)
{
    if (source.isNull())
        return;
    for (const SlicePiece& piece : pieces) {
        const QRect target = sliceDestination(piece.area, size, border);
        if (target.width() > 0 && target.height() > 0)
            painter.drawImage(target, source, piece.source);
    }
}

}  // namespace leafmill
