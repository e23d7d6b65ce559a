#include "ui/qt/widget_helpers.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPalette>
#include <QScreen>
#include <QWidget>

namespace brzdomat {

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void SetTextColour(QWidget* widget, Colour colour)
{
    auto palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(colour.Red, colour.Green, colour.Blue));
    widget->setPalette(palette);
}

QScreen* ScreenOf(const QWidget& window)
{
    // A window opened over another goes on its screen, also before it is first shown.
    const QWidget& owner = window.parentWidget() ? *window.parentWidget() : window;
    if (QScreen* screen = owner.screen())
        return screen;
    return QGuiApplication::primaryScreen();
}

void CentreFrameOnScreen(QWidget& window)
{
    QScreen* screen = ScreenOf(window);
    if (!screen)
        return;
    // A window's position is its frame's, whether or not the window system has told the frame's
    // size yet.
    auto area = screen->availableGeometry();
    auto frame = window.frameGeometry();
    window.move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

bool IsPlainEnter(const QKeyEvent& event)
{
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    return enter && (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace brzdomat
