#pragma once

// The running program: the main window, the surface on it and the logic behind it, wired so that
// every command of the window reaches the logic through the default error path and nothing
// thrown ever crosses Qt's event loop.

#include "testrun/exam_controller.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_surface.h"

#include <memory>
#include <string>

namespace brzdomat {

class Application {
public:
    // Creates the main window from its layout and runs its creation handler. The window factory
    // makes the secondary windows; by default the program's own splash, About and
    // program-information windows.
    explicit Application(std::string applicationTitle, WindowFactory = {});

    // Shows the main window centred on the screen. The first activation (or, should the window
    // system never report one, the first click or command) shows the splash window and records
    // the start directory.
    void Show();

    MainWindow& Window() { return *Main; }
    QtSurface& Surface() { return *Screen; }
    ExamController& Controller() { return *Logic; }

private:
    void Activate();
    template <typename Handler> void Dispatch(Handler&& handler);

    std::unique_ptr<MainWindow> Main;
    std::unique_ptr<QtSurface> Screen;
    std::unique_ptr<ExamController> Logic;
    bool Activating = false;
};

// The secondary windows of the program, for the surface.
std::unique_ptr<QDialog> MakeProgramWindow(
    brzdomat::Window, QWidget* parent, UiSurface& surfaceForLinks);

} // namespace brzdomat
