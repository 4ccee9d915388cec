#pragma once

#include <QRect>

class QWidget;

namespace leafmill::ui {

// Where a shown top-level window really is, in the toolkit's coordinates.
// Under X11 the server is asked: the toolkit's own copy of a frameless
// window's position may still hold where the window manager first put it
// inside its frame, near the top left of the screen.
QRect placedGeometry(QWidget* window);

// Moves a window about to be shown so that it is centred over `owner`'s
// window, inside the owner's screen.
void centreOver(QWidget* window, QWidget* owner);

}  // namespace leafmill::ui
