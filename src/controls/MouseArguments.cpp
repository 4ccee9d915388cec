#include "controls/MouseArguments.h"

namespace leafmill {

int mouseButtonMask(Qt::MouseButtons buttons)
{
    return (buttons & Qt::LeftButton ? 1 : 0) | (buttons & Qt::RightButton ? 2 : 0)
        | (buttons & Qt::MiddleButton ? 4 : 0);
}

int shiftMask(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
        | (modifiers & Qt::AltModifier ? 4 : 0);
}

bool pointerInside(QPointF position, QSize size)
{
    return position.x() >= 0 && position.x() <= size.width() && position.y() >= 0 && position.y() <= size.height();
}

}  // namespace leafmill
