#pragma once

// The program's message box and input box. Qt's QMessageBox does not keep the behaviour the
// logic relies on: closed by its title bar a Yes/No box reports No, the platform theme may
// reorder the buttons, and it may play a sound. These dialogs keep it instead: buttons always in
// the order Yes, No, OK, Cancel, the title-bar close always gives Cancel, no sound. Timers keep
// ticking while they are open.

#include "ui/qt/fixed_size_dialog.h"
#include "ui/ui_surface.h"

#include <QPointer>
#include <QString>

#include <array>
#include <string>
#include <string_view>

class QLabel;
class QLineEdit;
class QPushButton;

namespace brzdomat {

enum class MessageIcon { Stop, Information, Question };

class MessageDialog : public FixedSizeDialog {
public:
    MessageDialog(QWidget* parent, const QString& caption, MessageIcon, const QString& text,
        ButtonSet buttons);

    // The button the box was closed with; Cancel until one was pressed.
    PressedButton Pressed() const { return m_Pressed; }
    // Null for a button the box does not have.
    QPushButton* Button(PressedButton) const;
    QLabel* TextLabel() const { return m_TextLabel; }
    MessageIcon Icon() const { return m_Icon; }
    PressedButton DefaultButton() const { return m_DefaultButton; }
    PressedButton EscapeButton() const { return m_EscapeButton; }

    // The title-bar close (and anything else that rejects the dialog) gives Cancel.
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent*) override;

private:
    void Finish(PressedButton);

    std::array<QPushButton*, 4> m_Buttons {};
    QLabel* m_TextLabel = nullptr;
    MessageIcon m_Icon = MessageIcon::Stop;
    PressedButton m_DefaultButton = PressedButton::Ok;
    PressedButton m_EscapeButton = PressedButton::Ok;
    PressedButton m_Pressed = PressedButton::Cancel;
};

class InputDialog : public FixedSizeDialog {
public:
    InputDialog(
        QWidget* parent, const QString& caption, const QString& prompt, const QString& defaultText);

    // The edited text after OK, the default text after Cancel, Escape or the title-bar close.
    QString Reply() const;
    QLineEdit* Edit() const { return m_Edit; }
    QPushButton* OkButton() const { return m_OkButton; }
    QPushButton* CancelButton() const { return m_CancelButton; }

private:
    QLineEdit* m_Edit = nullptr;
    QPushButton* m_OkButton = nullptr;
    QPushButton* m_CancelButton = nullptr;
    QString m_DefaultText;
};

// The longest text the input box accepts.
inline constexpr int InputBoxMaximumLength = 255;

QString KindCaption(MessageKind);
MessageIcon KindIcon(MessageKind);

// Waits until the modal dialog has closed and gives its result, Rejected for one destroyed while
// open. A desktop runs the dialog's own event loop meanwhile; a page must give the browser its
// thread back, so there the dialog is shown and the waiter goes on once it has closed.
class WhenClosed {
public:
    explicit WhenClosed(QDialog* dialog)
        : m_Dialog(dialog)
    {
    }
    bool await_ready();
    void await_suspend(std::coroutine_handle<>);
    int await_resume() const { return m_Result; }

private:
    QPointer<QDialog> m_Dialog;
    int m_Result = 0;
};

// Modal helpers: show the dialog and reply its result once it has closed.
Reply<PressedButton> RunMessageBox(
    QWidget* parent, QString caption, MessageIcon, QString text, ButtonSet);
Reply<std::string> RunInputBox(
    QWidget* parent, std::string_view caption, std::string_view prompt, std::string defaultText);

} // namespace brzdomat
