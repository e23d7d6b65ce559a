#pragma once

// TForm1, the program's one working window: the status strip, the answer columns with
// "Potvrď", the question picture, the fixed texts and the main menu, built from the menu's rows
// in ui/controls.h. It holds no decisions: the logic reaches its controls through QtSurface by
// their objectNames, and the menu's and the button's commands go out through the callbacks the
// application sets.

#include "ui/controls.h"

#include <QMainWindow>

#include <functional>

namespace brzdomat {

// The size of the client area, below the menu bar.
inline constexpr int ClientWidth = 792;
inline constexpr int ClientHeight = 544;

class MainWindow : public QMainWindow {
public:
    MainWindow();

    // Commands of the window, set by the application.
    struct Commands {
        std::function<void(int test)> ChosenTest; // "1" .. "32"
        // Every other command of the menu, named by its item.
        std::function<void(MenuItem)> MenuCommand;
        std::function<void()> Confirm; // "Potvrď"
        std::function<void()> ClockTick;
        // The window became active, or the user clicked into it.
        std::function<void()> Activated;
        // The window is closing; the program ends.
        std::function<void()> Closing;
    };
    void SetCommands(Commands commands) { m_Commands = std::move(commands); }

    // Places the window's frame in the middle of its screen; called before it is first shown.
    void CentreOnScreen();

protected:
    bool event(QEvent*) override;
    bool eventFilter(QObject*, QEvent*) override;
    void closeEvent(QCloseEvent*) override;

private:
    void BuildControls();
    void BuildMenu();
    void Run(const std::function<void()>& command) const;

    Commands m_Commands;
};

} // namespace brzdomat
