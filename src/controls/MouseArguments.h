#pragma once

#include <QPointF>
#include <QSize>
#include <Qt>

namespace leafmill {

// The mouse events' arguments as the controls and their hosts speak them.

// Mask of mouse buttons: 1 left, 2 right, 4 middle.
int mouseButtonMask(Qt::MouseButtons buttons);
// Mask of modifier keys: 1 Shift, 2 Ctrl, 4 Alt.
int shiftMask(Qt::KeyboardModifiers modifiers);
// Whether the pointer counts as over a control of `size`: both far bounds
// inclusive, so the pixel just right of or below the control still counts.
bool pointerInside(QPointF position, QSize size);

}  // namespace leafmill
