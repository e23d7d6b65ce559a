#pragma once

// UiSurface on Qt 6 Widgets. Each control the logic names is the widget of the main window whose
// objectName is that name, found once when the surface is made; the modal operations are the
// program's own message and input boxes and the secondary windows, each replying once it has
// closed (WhenClosed), while the clock keeps ticking.

#include "ui/ui_surface.h"

#include <QPointer>

#include <array>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QCheckBox;
class QDialog;
class QLabel;
class QPushButton;
class QTimer;
class QWidget;

namespace brzdomat {

class PictureView;

// Makes a new secondary window from its design; the surface shows it modally and destroys it.
using WindowFactory = std::function<std::unique_ptr<QDialog>(Window, QWidget* parent)>;

class QtSurface : public UiSurface {
public:
    // mainWindow must hold every control the logic names; a missing one is a programming error
    // and throws std::logic_error here rather than failing later.
    QtSurface(QWidget* mainWindow, std::string applicationTitle, WindowFactory);

    void SetLabelText(Label, std::string_view text) override;
    std::string LabelText(Label) const override;
    void SetLabelColour(Label, Colour) override;
    void SetMenuItemEnabled(MenuItem, Enabled) override;
    void SetMenuItemChecked(MenuItem, Checked) override;
    void SetButtonEnabled(PushButton, Enabled) override;
    void SetChecked(CheckBox, Checked) override;
    bool IsChecked(CheckBox) const override;
    void SetPictureVisible(Picture, Visible) override;
    void ShowPicture(Picture, std::shared_ptr<const RgbImage>) override;
    void QuestionComesNext(std::optional<QuestionRef>) override;
    void StartTimer(Timer) override;
    void StopTimer(Timer) override;
    Reply<PressedButton> MessageBox(std::string_view text, MessageKind, ButtonSet) override;
    Reply<std::string> InputBox(
        std::string_view caption, std::string_view prompt, std::string_view defaultText) override;
    Reply<> ShowModalWindow(Window) override;
    void CloseWindow(Window) override;
    Reply<ReviewChoice> ShowReview(const RunRecord&) override;
    void OpenWebAddress(std::string_view address) override;
    void ReportFailure(std::string_view text) override;
    int ScreenBitsPerPixel() const override;

    // Gets the next question ready where its picture is slow to come (the page); a desktop reads
    // its pictures when shown and sets nothing.
    void SetNextQuestionHandler(std::function<void(QuestionRef)> handler)
    {
        m_NextQuestionHandler = std::move(handler);
    }

private:
    QWidget* m_Main;
    std::string m_ApplicationTitle;
    WindowFactory m_MakeWindow;
    std::function<void(QuestionRef)> m_NextQuestionHandler;
    // Every control the logic names, found once by its layout name.
    std::array<QLabel*, ControlCount<Label>> m_Labels {};
    // What was last written to each label, so that reading it back gives the very bytes, also
    // for text that is not valid UTF-8.
    std::array<std::string, ControlCount<Label>> m_Written {};
    std::array<QCheckBox*, ControlCount<CheckBox>> m_CheckBoxes {};
    std::array<QAction*, ControlCount<MenuItem>> m_MenuItems {};
    std::array<QPushButton*, ControlCount<PushButton>> m_Buttons {};
    std::array<PictureView*, ControlCount<Picture>> m_Pictures {};
    std::array<QTimer*, ControlCount<Timer>> m_Timers {};
    // The secondary windows open right now, so that CloseWindow can reach them.
    std::array<QPointer<QDialog>, ControlCount<Window>> m_OpenWindows {};
};

} // namespace brzdomat
