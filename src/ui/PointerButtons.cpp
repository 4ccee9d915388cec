#include "ui/PointerButtons.h"

#include <QGuiApplication>

#ifdef LEAFMILL_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace leafmill::ui {

bool leftButtonHeldNow()
{
#ifdef LEAFMILL_HAVE_XCB
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return true;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    xcb_query_pointer_reply_t* reply = xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr);
    if (!reply)
        return true;
    const bool held = (reply->mask & XCB_BUTTON_MASK_1) != 0;
    std::free(reply);
    return held;
#else
    return true;
#endif
}

}  // namespace leafmill::ui
