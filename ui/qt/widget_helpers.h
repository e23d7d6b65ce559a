#pragma once

// Small pieces every window of the program needs the same way: text from the logic, text
// colours, the title bar of a dialog and the place of a new window.

#include "ui/control_names.h"
#include "ui/ui_surface.h"

#include <QAccessibleWidget>
#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>

#include <stdexcept>
#include <string>
#include <string_view>

class QKeyEvent;
class QScreen;

namespace brzdomat {

// Text as the widgets take it; the logic's texts and the control names are UTF-8.
QString FromUtf8(std::string_view text);

void SetTextColour(QWidget*, Colour);

// The control of the window whose objectName is the control's layout name. A missing one is a
// programming error and throws std::logic_error.
template <typename Widget, typename Control>
Widget* FindControl(const QWidget& window, Control control)
{
    std::string_view name = ControlName(control);
    auto* found = window.findChild<Widget*>(FromUtf8(name));
    if (!found)
        throw std::logic_error("The main window has no control " + std::string { name });
    return found;
}

// The screen the window is shown on, or will be, its owner's for a window opened over another.
// Null only without any screen.
QScreen* ScreenOf(const QWidget&);

// Places the window's frame, title bar included where the window system has told its size, in
// the middle of the available area of the window's screen.
void CentreFrameOnScreen(QWidget&);

// Enter or the keypad's Enter with no modifier: what presses the focused control.
bool IsPlainEnter(const QKeyEvent&);

// A widget as screen readers see it: its role, and a name asked for whenever it is read, so that
// it follows what the widget shows.
class NamedAccessible : public QAccessibleWidget {
public:
    NamedAccessible(QWidget* widget, QAccessible::Role role, std::function<QString()> name)
        : QAccessibleWidget(widget, role)
        , m_Name(std::move(name))
    {
    }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Name ? m_Name() : QAccessibleWidget::text(kind);
    }

private:
    std::function<QString()> m_Name;
};

template <class W, QAccessibleInterface* (*Make)(W*)>
QAccessibleInterface* AccessibleFactory(const QString&, QObject* object)
{
    auto* widget = dynamic_cast<W*>(object);
    return widget ? Make(widget) : nullptr;
}

// From the first call on, screen readers get for every widget of class W the interface that Make
// builds for it.
template <class W, QAccessibleInterface* (*Make)(W*)> void InstallAccessible()
{
    static const bool installed = (QAccessible::installFactory(&AccessibleFactory<W, Make>), true);
    (void)installed;
}

} // namespace brzdomat
