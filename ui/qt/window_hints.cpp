#include "ui/qt/window_hints.h"

#include <QGuiApplication>
#include <QWidget>

#if BRZDOMAT_X11_HINTS
#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstring>
#endif

namespace brzdomat {

#if BRZDOMAT_X11_HINTS

namespace {

enum MotifHints : std::uint32_t { Functions = 1, Decorations = 2 };
enum MotifFunction : std::uint32_t { Move = 4, Minimise = 8, Close = 32 };
enum MotifDecoration : std::uint32_t {
    Border = 2,
    Title = 8,
    SystemMenu = 16,
    MinimiseButton = 32
};

xcb_atom_t Atom(xcb_connection_t* connection, const char* name)
{
    auto cookie
        = xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    auto* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    auto atom = reply->atom;
    std::free(reply);
    return atom;
}

} // namespace

void FixWindowHints(QWidget* window)
{
    // Only the xcb platform draws on a display of its own; others may still answer for X11.
    if (QGuiApplication::platformName() != QLatin1String("xcb") || !window->isWindow()
        || window->minimumSize() != window->maximumSize())
        return;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    auto* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    auto motif = Atom(connection, "_MOTIF_WM_HINTS");
    if (motif == XCB_ATOM_NONE)
        return;
    const auto flags = window->windowFlags();
    std::uint32_t functions = Move;
    std::uint32_t decorations = Border | Title;
    if (flags & Qt::WindowSystemMenuHint)
        decorations |= SystemMenu;
    if (flags & Qt::WindowMinimizeButtonHint) {
        functions |= Minimise;
        decorations |= MinimiseButton;
    }
    if (flags & Qt::WindowCloseButtonHint)
        functions |= Close;
    const std::array<std::uint32_t, 5> hints { Functions | Decorations, functions, decorations, 0,
        0 };
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE,
        static_cast<xcb_window_t>(window->winId()), motif, motif, 32,
        static_cast<std::uint32_t>(hints.size()), hints.data());
    xcb_flush(connection);
}

#else

void FixWindowHints(QWidget*)
{
}

#endif

} // namespace brzdomat
