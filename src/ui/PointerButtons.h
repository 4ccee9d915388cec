#pragma once

class QWidget;

namespace leafmill::ui {

enum class WindowManagerMove {
    Started,  // the window manager moves the window until the release
    ButtonUp,  // the button is up already: nothing to move
    Unavailable,  // no window manager move on this platform
};

// Hands a title-bar drag of `window` to the X window manager, from where the
// server says the pointer is now. A busy program may see a press long after
// the release, or with positions the pointer has left; a move asked for then
// would wait for a release that already came, or jump, and the window would
// follow the pointer.
WindowManagerMove startWindowManagerMove(QWidget* window);

}  // namespace leafmill::ui
