#include "ui/empty_title.h"

#include <QGuiApplication>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#endif

namespace sg::ui {

#if QT_CONFIG(xcb)
namespace {

xcb_atom_t Atom(xcb_connection_t *connection, const char *name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
}

} // namespace
#endif

void ShowEmptyTitle(QWidget &window)
{
    window.setWindowTitle(QString());
#if QT_CONFIG(xcb)
    // The window manager shows what these two properties say, so they are emptied where
    // it reads them.
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    const auto id = static_cast<xcb_window_t>(window.winId());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                        0, nullptr);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, Atom(connection, "_NET_WM_NAME"),
                        Atom(connection, "UTF8_STRING"), 8, 0, nullptr);
    xcb_flush(connection);
#endif
}

} // namespace sg::ui
