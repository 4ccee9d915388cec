#pragma once

namespace leafmill::ui {

// Whether the left mouse button is down now, as the window system knows it,
// not as the events delivered so far say. A busy program may see a press
// long after the release; a window manager asked to move the window then
// would wait for a release that already came, and the window would follow
// the pointer. True where the platform gives no such answer.
bool leftButtonHeldNow();

}  // namespace leafmill::ui
