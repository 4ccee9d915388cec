#include "ui/PointerButtons.h"

#include <QGuiApplication>
#include <QWidget>

#ifdef LEAFMILL_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#endif

namespace leafmill::ui {

#ifdef LEAFMILL_HAVE_XCB
namespace {

template <typename T> using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t atomNamed(xcb_connection_t* connection, const char* name)
{
    Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 1, std::strlen(name), name), nullptr),
        &std::free);
    return reply ? reply->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The move request, when the running window manager says it takes it.
xcb_atom_t supportedMoveRequest(xcb_connection_t* connection, xcb_window_t root)
{
    const xcb_atom_t request = atomNamed(connection, "_NET_WM_MOVERESIZE");
    const xcb_atom_t supported = atomNamed(connection, "_NET_SUPPORTED");
    if (request == XCB_ATOM_NONE || supported == XCB_ATOM_NONE)
        return XCB_ATOM_NONE;
    Reply<xcb_get_property_reply_t> list(
        xcb_get_property_reply(connection, xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, 4096),
                               nullptr),
        &std::free);
    if (!list || list->format != 32)
        return XCB_ATOM_NONE;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(list.get()));
    const int count = xcb_get_property_value_length(list.get()) / 4;
    for (int i = 0; i < count; ++i)
        if (atoms[i] == request)
            return request;
    return XCB_ATOM_NONE;
}

}  // namespace
#endif

WindowManagerMove startWindowManagerMove(QWidget* window)
{
#ifdef LEAFMILL_HAVE_XCB
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return WindowManagerMove::Unavailable;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const xcb_atom_t moveResize = supportedMoveRequest(connection, root);
    if (moveResize == XCB_ATOM_NONE)
        return WindowManagerMove::Unavailable;
    Reply<xcb_query_pointer_reply_t> pointer(
        xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr), &std::free);
    if (!pointer)
        return WindowManagerMove::Unavailable;
    if (!(pointer->mask & XCB_BUTTON_MASK_1))
        return WindowManagerMove::ButtonUp;

    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = static_cast<xcb_window_t>(window->window()->winId());
    message.type = moveResize;
    message.data.data32[0] = static_cast<uint32_t>(pointer->root_x);
    message.data.data32[1] = static_cast<uint32_t>(pointer->root_y);
    message.data.data32[2] = 8;  // move
    message.data.data32[3] = XCB_BUTTON_INDEX_1;
    message.data.data32[4] = 1;  // asked by an application
    // The window manager grabs the pointer itself.
    xcb_ungrab_pointer(connection, XCB_CURRENT_TIME);
    xcb_send_event(connection, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection);
    return WindowManagerMove::Started;
#else
    (void)window;
    return WindowManagerMove::Unavailable;
#endif
}

}  // namespace leafmill::ui
