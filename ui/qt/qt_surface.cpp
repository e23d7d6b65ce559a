#include "ui/qt/qt_surface.h"

#include "ui/control_names.h"
#include "ui/qt/message_dialogs.h"
#include "ui/qt/picture_view.h"

#include <QAction>
#include <QCheckBox>
#include <QDesktopServices>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <stdexcept>

namespace brzdomat {

namespace {

template <typename Widget, typename Enum> Widget* Find(QWidget* window, Enum control)
{
    auto name = ControlName(control);
    auto* found = window->findChild<Widget*>(
        QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
    if (!found)
        throw std::logic_error("The main window has no control " + std::string { name });
    return found;
}

template <typename Enum> std::size_t Index(Enum value)
{
    return static_cast<std::size_t>(value);
}

} // namespace

QtSurface::QtSurface(QWidget* mainWindow, std::string applicationTitle, WindowFactory factory)
    : Main(mainWindow)
    , Title(std::move(applicationTitle))
    , MakeWindow(std::move(factory))
{
    for (auto label : { Label::Label2, Label::Label4, Label::Label6, Label::Label8, Label::Label10,
             Label::Label17 }) {
        Labels[Index(label)] = Find<QLabel>(Main, label);
        Written[Index(label)] = Labels[Index(label)]->text().toStdString();
    }
    for (std::size_t index = 0; index < Boxes.size(); ++index)
        Boxes[index] = Find<QCheckBox>(Main, static_cast<CheckBox>(index));
    for (std::size_t index = 0; index < MenuItems.size(); ++index)
        MenuItems[index] = Find<QAction>(Main, static_cast<MenuItem>(index));
    Button1 = Find<QPushButton>(Main, PushButton::Button1);
    Image1 = Find<PictureView>(Main, Picture::Image1);
    Timer1 = Find<QTimer>(Main, Timer::Timer1);
}

void QtSurface::SetLabelText(Label label, std::string_view text)
{
    auto* widget = Labels[Index(label)];
    widget->setText(FromUtf8(text));
    // Labels size themselves to their text.
    widget->adjustSize();
    Written[Index(label)] = std::string { text };
}

std::string QtSurface::LabelText(Label label) const
{
    const auto& written = Written[Index(label)];
    auto shown = Labels[Index(label)]->text();
    return shown == FromUtf8(written) ? written : shown.toStdString();
}

void QtSurface::SetLabelColour(Label label, Colour colour)
{
    auto* widget = Labels[Index(label)];
    auto palette = widget->palette();
    palette.setColor(QPalette::WindowText, QColor(colour.Red, colour.Green, colour.Blue));
    widget->setPalette(palette);
}

void QtSurface::SetMenuItemEnabled(MenuItem item, Enabled enabled)
{
    MenuItems[Index(item)]->setEnabled(enabled == Enabled::Yes);
}

void QtSurface::SetButtonEnabled(PushButton, Enabled enabled)
{
    Button1->setEnabled(enabled == Enabled::Yes);
}

void QtSurface::SetChecked(CheckBox box, Checked checked)
{
    Boxes[Index(box)]->setChecked(checked == Checked::Yes);
}

bool QtSurface::IsChecked(CheckBox box) const
{
    return Boxes[Index(box)]->isChecked();
}

void QtSurface::SetPictureVisible(Picture, Visible visible)
{
    Image1->setVisible(visible == Visible::Yes);
}

void QtSurface::ShowPicture(Picture, std::shared_ptr<const RgbImage> picture)
{
    const auto* before = Image1->Picture().get();
    Image1->SetPicture(std::move(picture));
    if (Image1->Picture().get() == before)
        return; // Refused: the previous picture and its description stay.
    // The question on screen is the one the status labels name when its picture arrives.
    Image1->setAccessibleDescription(
        QString::fromUtf8("Test č. %1, otázka č. %2")
            .arg(Labels[Index(Label::Label2)]->text(), Labels[Index(Label::Label4)]->text()));
}

void QtSurface::StartTimer(Timer)
{
    // QTimer::start restarts a running timer; the clock's next tick must not move.
    if (!Timer1->isActive())
        Timer1->start();
}

void QtSurface::StopTimer(Timer)
{
    Timer1->stop();
}

PressedButton QtSurface::MessageBox(std::string_view text, MessageKind kind, ButtonSet buttons)
{
    return RunMessageBox(Main, KindCaption(kind), KindIcon(kind), FromUtf8(text), buttons);
}

std::string QtSurface::InputBox(
    std::string_view caption, std::string_view prompt, std::string_view defaultText)
{
    return RunInputBox(Main, caption, prompt, defaultText);
}

void QtSurface::ShowModalWindow(Window window)
{
    if (window == Window::TForm1 || !MakeWindow)
        return;
    auto made = MakeWindow(window, Main);
    if (!made)
        return;
    // Guarded: the window may be destroyed with its parent while it is open.
    QPointer<QDialog> dialog = made.release();
    OpenWindows[Index(window)] = dialog;
    dialog->exec();
    delete dialog.data();
    // Without a window manager the focus would stay with the closed window, and the keyboard
    // would not reach the main window until the user clicks into it.
    if (Main && Main->isVisible())
        Main->activateWindow();
}

void QtSurface::CloseWindow(Window window)
{
    if (window == Window::TForm1) {
        Main->close();
        return;
    }
    if (auto dialog = OpenWindows[Index(window)])
        dialog->reject();
}

void QtSurface::OpenWebAddress(std::string_view address)
{
    // Hands the address to the desktop, which starts the browser without waiting for it; the
    // result says nothing the user could act on.
    QDesktopServices::openUrl(QUrl(FromUtf8(address)));
}

void QtSurface::ReportFailure(std::string_view text)
{
    RunMessageBox(Main, FromUtf8(Title), MessageIcon::Stop, FromUtf8(text), ButtonSet::Ok);
}

int QtSurface::ScreenBitsPerPixel() const
{
    const QScreen* screen = Main ? Main->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}

} // namespace brzdomat
