#include "ui/qt/window_hints.h"

#include <QGuiApplication>
#include <QWidget>

#if BRZDOMAT_X11_HINTS
#include <xcb/xcb.h>

#include <array>
#include <cstdint>
#include <cstdlib>
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

xcb_connection_t* X11Connection()
{
    // Only the xcb platform draws on a display of its own; others may still answer for X11.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return nullptr;
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The Motif hints' atom, asked for once: the question goes out ahead of the first window and its
// answer is read when that window is shown, so that no window waits a round trip for it. An atom
// belongs to its display, so a new connection asks again.
class MotifAtom {
public:
    void Request(xcb_connection_t* connection)
    {
        if (m_Connection == connection)
            return;
        static constexpr char Name[] = "_MOTIF_WM_HINTS";
        m_Cookie = xcb_intern_atom(connection, 0, sizeof Name - 1, Name);
        m_Connection = connection;
        m_Answered = false;
    }

    xcb_atom_t Get(xcb_connection_t* connection)
    {
        Request(connection);
        if (!m_Answered) {
            auto* reply = xcb_intern_atom_reply(connection, m_Cookie, nullptr);
            m_Atom = reply ? reply->atom : xcb_atom_t { XCB_ATOM_NONE };
            std::free(reply);
            m_Answered = true;
        }
        return m_Atom;
    }

private:
    xcb_connection_t* m_Connection = nullptr;
    xcb_intern_atom_cookie_t m_Cookie {};
    xcb_atom_t m_Atom { XCB_ATOM_NONE };
    bool m_Answered = false;
};

MotifAtom& TheMotifAtom()
{
    static MotifAtom atom;
    return atom;
}

} // namespace

void PrepareWindowHints()
{
    if (auto* connection = X11Connection())
        TheMotifAtom().Request(connection);
}

void FixWindowHints(QWidget* window)
{
    if (!window->isWindow() || window->minimumSize() != window->maximumSize())
        return;
    auto* connection = X11Connection();
    if (!connection)
        return;
    auto motif = TheMotifAtom().Get(connection);
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

void PrepareWindowHints()
{
}

void FixWindowHints(QWidget*)
{
}

#endif

} // namespace brzdomat
