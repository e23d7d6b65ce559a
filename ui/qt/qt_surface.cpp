#include "ui/qt/qt_surface.h"

#include "bank/picture_file.h"
#include "bank/question_picture.h"
#include "testrun/picture_display.h"
#include "ui/qt/layout_fonts.h"
#include "ui/qt/message_dialogs.h"
#include "ui/qt/picture_view.h"
#include "ui/qt/review_window.h"
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

template <typename Widget, typename Control>
std::array<Widget*, ControlCount<Control>> FindAll(const QWidget& window)
{
    std::array<Widget*, ControlCount<Control>> found {};
    for (Control control : AllControls<Control>())
        found[Index(control)] = FindControl<Widget>(window, control);
    return found;
}

} // namespace

QtSurface::QtSurface(QWidget* mainWindow, std::string applicationTitle, WindowFactory factory)
    : m_Main(mainWindow)
    , m_ApplicationTitle(std::move(applicationTitle))
    , m_MakeWindow(std::move(factory))
{
    m_Labels = FindAll<QLabel, Label>(*m_Main);
    m_CheckBoxes = FindAll<QCheckBox, CheckBox>(*m_Main);
    m_MenuItems = FindAll<QAction, MenuItem>(*m_Main);
    m_Buttons = FindAll<QPushButton, PushButton>(*m_Main);
    m_Pictures = FindAll<PictureView, Picture>(*m_Main);
    m_Timers = FindAll<QTimer, Timer>(*m_Main);
    for (std::size_t index = 0; index < m_Labels.size(); ++index)
        m_Written[index] = m_Labels[index]->text().toStdString();
}

void QtSurface::SetLabelText(Label label, std::string_view text)
{
    auto* widget = m_Labels[Index(label)];
    widget->setText(FromUtf8(text));
    // A status value's baseline is placed when it first shows a text (see the main window).
    if (!text.empty())
        KeepDesignBaseline(widget);
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

void QtSurface::SetMenuItemChecked(MenuItem item, Checked checked)
{
    m_MenuItems[Index(item)]->setChecked(checked == Checked::Yes);
}

void QtSurface::SetButtonEnabled(PushButton button, Enabled enabled)
{
    m_Buttons[Index(button)]->setEnabled(enabled == Enabled::Yes);
}

void QtSurface::SetChecked(CheckBox box, Checked checked)
{
    m_CheckBoxes[Index(box)]->setChecked(checked == Checked::Yes);
}

bool QtSurface::IsChecked(CheckBox box) const
{
    return m_CheckBoxes[Index(box)]->isChecked();
}

void QtSurface::SetPictureVisible(Picture picture, Visible visible)
{
    m_Pictures[Index(picture)]->setVisible(visible == Visible::Yes);
}

void QtSurface::ShowPicture(Picture control, std::shared_ptr<const RgbImage> picture)
{
    auto* view = m_Pictures[Index(control)];
    const auto* before = view->Picture().get();
    view->SetPicture(std::move(picture));
    if (view->Picture().get() == before)
        return; // Refused: the previous picture and its description stay.
    // The question on screen is the one the status labels name when its picture arrives.
    view->setAccessibleDescription(
        QString::fromUtf8("Test č. %1, otázka č. %2")
            .arg(m_Labels[Index(Label::Label2)]->text(), m_Labels[Index(Label::Label4)]->text()));
}

void QtSurface::QuestionComesNext(std::optional<QuestionRef> next)
{
    if (next && m_NextQuestionHandler)
        m_NextQuestionHandler(*next);
}

void QtSurface::StartTimer(Timer timer)
{
    // QTimer::start restarts a running timer; the clock's next tick must not move.
    auto* clock = m_Timers[Index(timer)];
    if (!clock->isActive())
        clock->start();
}

void QtSurface::StopTimer(Timer timer)
{
    m_Timers[Index(timer)]->stop();
}

Reply<PressedButton> QtSurface::MessageBox(
    std::string_view text, MessageKind kind, ButtonSet buttons)
{
    return RunMessageBox(m_Main, KindCaption(kind), KindIcon(kind), FromUtf8(text), buttons);
}

Reply<std::string> QtSurface::InputBox(
    std::string_view caption, std::string_view prompt, std::string_view defaultText)
{
    return RunInputBox(m_Main, caption, prompt, std::string { defaultText });
}

Reply<> QtSurface::ShowModalWindow(Window window)
{
    if (window == Window::TForm1 || !m_MakeWindow)
        co_return;
    auto made = m_MakeWindow(window, m_Main);
    if (!made)
        co_return;
    // Guarded: the window may be destroyed with its parent while it is open.
    QPointer<QDialog> dialog = made.release();
    m_OpenWindows[Index(window)] = dialog;
    co_await WhenClosed(dialog);
    delete dialog.data();
    // Without a window manager the focus would stay with the closed window, and the keyboard
    // would not reach the main window until the user clicks into it.
    if (m_Main && m_Main->isVisible())
        m_Main->activateWindow();
}

Reply<ReviewChoice> QtSurface::ShowReview(const RunRecord& lastRun)
{
    // The run's pictures are got before the window opens, and the rows and the sheet take them
    // from memory: in a page they come over the network, which nothing may wait for in a paint.
    const RunRecord record = lastRun;
    std::vector<std::string> paths;
    for (const auto& question : record.Questions)
        paths.push_back(QuestionPicturePath(record.StartDirectory, question.Question));
    co_await GetPictureFiles(std::move(paths), DecodeOptions {}.Limits.MaxFileBytes);
    const ForgetHeldPictureFilesAtEnd forget;
    QPointer<QDialog> dialog = MakeReviewWindow(m_Main, record, ScreenBitsPerPixel()).release();
    int result = co_await WhenClosed(dialog);
    delete dialog.data();
    if (m_Main && m_Main->isVisible())
        m_Main->activateWindow();
    co_return result == PractiseMistakesResult ? ReviewChoice::PractiseMistakes
                                               : ReviewChoice::Close;
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
    // Nothing follows the report: in a page the box stays open after this returns.
    static_cast<void>(RunMessageBox(
        m_Main, FromUtf8(m_ApplicationTitle), MessageIcon::Stop, FromUtf8(text), ButtonSet::Ok));
}

int QtSurface::ScreenBitsPerPixel() const
{
    const QScreen* screen = m_Main ? m_Main->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 24;
}

} // namespace brzdomat
