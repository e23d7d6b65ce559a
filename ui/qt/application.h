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

    MainWindow& Main() { return *m_Main; }
    QtSurface& Surface() { return *m_Surface; }
    ExamController& Controller() { return *m_Controller; }

private:
    // Whether a command first does the first activation's work, should it still be due.
    enum class Activation { First, NotNeeded };

    void Activate();
    void Run(ExamController::Handler, Activation);

    std::unique_ptr<MainWindow> m_Main;
    std::unique_ptr<QtSurface> m_Surface;
    std::unique_ptr<ExamController> m_Controller;
    bool m_Activating = false;
};

} // namespace brzdomat
