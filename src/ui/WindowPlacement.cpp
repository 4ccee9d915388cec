#include "ui/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#ifdef LEAFMILL_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

#include <algorithm>

namespace leafmill::ui {

QRect placedGeometry(QWidget* window)
{
    QRect placed = window->geometry();
#ifdef LEAFMILL_HAVE_XCB
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || !window->windowHandle() || !window->isVisible())
        return placed;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    std::unique_ptr<xcb_translate_coordinates_reply_t, decltype(&std::free)> origin(
        xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, static_cast<xcb_window_t>(window->winId()), root, 0, 0),
            nullptr),
        &std::free);
    if (!origin)
        return placed;
    // Device pixels to the toolkit's: scaled about the screen's origin.
    const QPoint screenOrigin = window->screen()->geometry().topLeft();
    const qreal ratio = window->devicePixelRatioF();
    const QPoint native(origin->dst_x, origin->dst_y);
    placed.moveTopLeft(screenOrigin + (native - screenOrigin) / ratio);
#endif
    return placed;
}

void centreOver(QWidget* window, QWidget* owner)
{
    QWidget* ownerWindow = owner->window();
    const QRect over = placedGeometry(ownerWindow);
    QRect placed(QPoint(), window->size());
    placed.moveCenter(over.center());
    if (const QScreen* screen = ownerWindow->screen()) {
        const QRect room = screen->availableGeometry();
        placed.moveLeft(
            std::clamp(placed.left(), room.left(), std::max(room.left(), room.right() + 1 - placed.width())));
        placed.moveTop(std::clamp(placed.top(), room.top(), std::max(room.top(), room.bottom() + 1 - placed.height())));
    }
    // move() places the frame, whose edges a shown window already knows.
    window->move(placed.topLeft() - (window->geometry().topLeft() - window->pos()));
}

}  // namespace leafmill::ui
