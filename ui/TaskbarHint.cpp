#include "TaskbarHint.h"

#include <QGuiApplication>
#include <QWidget>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};

xcb_atom_t internAtom(xcb_connection_t *connection, const char *name, std::size_t length)
{
    std::unique_ptr<xcb_intern_atom_reply_t, FreeReply> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(length), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

} // namespace
#endif

void askForNoTaskbarEntry(QWidget *window)
{
#if QT_CONFIG(xcb)
    // Only the xcb platform has a window manager to ask (the offscreen one may offer an X11
    // interface too, without a connection).
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || x11 == nullptr ||
        x11->connection() == nullptr)
        return;
    xcb_connection_t *connection = x11->connection();
    static constexpr char kState[] = "_NET_WM_STATE";
    static constexpr char kSkipTaskbar[] = "_NET_WM_STATE_SKIP_TASKBAR";
    const xcb_atom_t state = internAtom(connection, kState, sizeof kState - 1);
    const xcb_atom_t skipTaskbar = internAtom(connection, kSkipTaskbar, sizeof kSkipTaskbar - 1);
    if (state == XCB_ATOM_NONE || skipTaskbar == XCB_ATOM_NONE)
        return;
    // Qt writes the window's other states when it maps the window and keeps the ones it finds
    // there, so the state is added to the unmapped window, next to whatever it already holds.
    const auto id = static_cast<xcb_window_t>(window->winId());
    std::unique_ptr<xcb_get_property_reply_t, FreeReply> reply(xcb_get_property_reply(
        connection, xcb_get_property(connection, 0, id, state, XCB_ATOM_ATOM, 0, 1024), nullptr));
    std::vector<xcb_atom_t> atoms;
    if (reply && reply->format == 32 && reply->type == XCB_ATOM_ATOM) {
        const auto *values = static_cast<const xcb_atom_t *>(xcb_get_property_value(reply.get()));
        atoms.assign(values, values + reply->value_len);
    }
    for (xcb_atom_t atom : atoms)
        if (atom == skipTaskbar)
            return;
    atoms.push_back(skipTaskbar);
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, state, XCB_ATOM_ATOM, 32,
                        static_cast<uint32_t>(atoms.size()), atoms.data());
    xcb_flush(connection);
#else
    Q_UNUSED(window);
#endif
}
