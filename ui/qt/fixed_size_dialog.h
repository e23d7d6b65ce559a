#pragma once

#include <QDialog>

namespace brzdomat {

// The program's dialogs: a title bar with only the system menu and its close button (no help,
// minimise or maximise), a size the user cannot change, and the middle of the screen once shown.
class FixedSizeDialog : public QDialog {
public:
    explicit FixedSizeDialog(QWidget* parent);

protected:
    // Tells the window manager that the window cannot be resized, now that its native window
    // exists and before it is mapped, and centres it, now that its size is known.
    void showEvent(QShowEvent*) override;
};

} // namespace brzdomat
