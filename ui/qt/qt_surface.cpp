#include "ui/qt/qt_surface.h"

#include "ui/qt/message_dialogs.h"
#include "ui/qt/picture_view.h"
#include "ui/qt/widget_helpers.h"

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

namespace brzdomat {

namespace {

template <typename Enum> std::size_t Index(Enum value)
{
    return static_cast<std::size_t>(value);
}

} // namespace

QtSurface::QtSurface(QWidget* mainWindow, std::string applicationTitle, WindowFactory factory)
    : m_Main(mainWindow)
    , m_ApplicationTitle(std::move(applicationTitle))
    , m_MakeWindow(std::move(factory))
{
    for (auto label : { Label::Label2, Label::Label4, Label::Label6, Label::Label8, Label::Label10,
             Label::Label17 }) {
        m_Labels[Index(label)] = FindControl<QLabel>(*m_Main, label);
        m_Written[Index(label)] = m_Labels[Index(label)]->text().toStdString();
    }
    for (std::size_t index = 0; index < m_CheckBoxes.size(); ++index)
        m_CheckBoxes[index] = FindControl<QCheckBox>(*m_Main, static_cast<CheckBox>(index));
    for (std::size_t index = 0; index < m_MenuItems.size(); ++index)
        m_MenuItems[index] = FindControl<QAction>(*m_Main, static_cast<MenuItem>(index));
    m_Button1 = FindControl<QPushButton>(*m_Main, PushButton::Button1);
    m_Image1 = FindControl<PictureView>(*m_Main, Picture::Image1);
    m_Timer1 = FindControl<QTimer>(*m_Main, Timer::Timer1);
}

void QtSurface::SetLabelText(Label label, std::string_view text)
{
    auto* widget = m_Labels[Index(label)];
    widget->setText(FromUtf8(text));
    // Labels size themselves to their text.
    widget->adjustSize();
    m_Written[Index(label)] = std::string { text };
}

std::string QtSurface::LabelText(Label label) const
{
    const auto& written = m_Written[Index(label)];
    auto shown = m_Labels[Index(label)]->text();
    return shown == FromUtf8(written) ? written : shown.toStdString();
}

void QtSurface::SetLabelColour(Label label, Colour colour)
{
    SetTextColour(m_Labels[Index(label)], colour);
}

void QtSurface::SetMenuItemEnabled(MenuItem item, Enabled enabled)
{
    m_MenuItems[Index(item)]->setEnabled(enabled == Enabled::Yes);
}

void QtSurface::SetButtonEnabled(PushButton, Enabled enabled)
{
    m_Button1->setEnabled(enabled == Enabled::Yes);
}

void QtSurface::SetChecked(CheckBox box, Checked checked)
{
    m_CheckBoxes[Index(box)]->setChecked(checked == Checked::Yes);
}

bool QtSurface::IsChecked(CheckBox box) const
{
    return m_CheckBoxes[Index(box)]->isChecked();
}

void QtSurface::SetPictureVisible(Picture, Visible visible)
{
    m_Image1->setVisible(visible == Visible::Yes);
}

void QtSurface::ShowPicture(Picture, std::shared_ptr<const RgbImage> picture)
{
    const auto* before = m_Image1->Picture().get();
    m_Image1->SetPicture(std::move(picture));
    if (m_Image1->Picture().get() == before)
        return; // Refused: the previous picture and its description stay.
    // The question on screen is the one the status labels name when its picture arrives.
    m_Image1->setAccessibleDescription(
        QString::fromUtf8("Test č. %1, otázka č. %2")
            .arg(m_Labels[Index(Label::Label2)]->text(), m_Labels[Index(Label::Label4)]->text()));
}

void QtSurface::StartTimer(Timer)
{
    // QTimer::start restarts a running timer; the clock's next tick must not move.
    if (!m_Timer1->isActive())
        m_Timer1->start();
}

void QtSurface::StopTimer(Timer)
{
    m_Timer1->stop();
}

PressedButton QtSurface::MessageBox(std::string_view text, MessageKind kind, ButtonSet buttons)
{
    return RunMessageBox(m_Main, KindCaption(kind), KindIcon(kind), FromUtf8(text), buttons);
}

std::string QtSurface::InputBox(
    std::string_view caption, std::string_view prompt, std::string_view defaultText)
{
    return RunInputBox(m_Main, caption, prompt, defaultText);
}

void QtSurface::ShowModalWindow(Window window)
{
    if (window == Window::TForm1 || !m_MakeWindow)
        return;
    auto made = m_MakeWindow(window, m_Main);
    if (!made)
        return;
    // Guarded: the window may be destroyed with its parent while it is open.
    QPointer<QDialog> dialog = made.release();
    m_OpenWindows[Index(window)] = dialog;
    dialog->exec();
    delete dialog.data();
    // Without a window manager the focus would stay with the closed window, and the keyboard
    // would not reach the main window until the user clicks into it.
    if (m_Main && m_Main->isVisible())
        m_Main->activateWindow();
}

void QtSurface::CloseWindow(Window window)
{
    if (window == Window::TForm1) {
        m_Main->close();
        return;
    }
    if (auto dialog = m_OpenWindows[Index(window)])
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
    RunMessageBox(
        m_Main, FromUtf8(m_ApplicationTitle), MessageIcon::Stop, FromUtf8(text), ButtonSet::Ok);
}

int QtSurface::ScreenBitsPerPixel() const
{
    const QScreen* screen = m_Main ? m_Main->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}

} // namespace brzdomat
