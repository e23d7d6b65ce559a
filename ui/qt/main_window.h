#pragma once

// TForm1, the program's one working window: the status strip, the answer columns with
// "Potvrď", the question picture, the fixed texts and the main menu, built from the menu's rows
// in ui/controls.h. It holds no decisions: the logic reaches its controls through QtSurface by
// their objectNames, and the menu's and the button's commands go out through the callbacks the
// application sets.

#include "ui/controls.h"

#include <QWidget>

#include <functional>
#include <vector>

class QMenu;
class QMenuBar;
class QPushButton;

namespace brzdomat {

// The size of the client area, below the menu bar.
inline constexpr int ClientWidth = 792;
inline constexpr int ClientHeight = 544;
// Where the question picture, Image1, stands in the client area.
inline constexpr int Image1Left = 128;
inline constexpr int Image1Top = 80;

// How the controls are placed: as designed, or for a phone held upright, where the same controls
// stand in a column as wide as the page, with the picture across it, finger-sized answers and
// the menu behind one button.
enum class Arrangement { Designed, Portrait };
// The portrait arrangement is never made narrower: a narrower page shows it scaled down.
inline constexpr int PortraitMinimumWidth = 320;
// Portrait for a page taller than wide and so narrow that the designed window, scaled down to
// it, would show its texts at less than three quarters of their size: a phone, not a tablet.
inline constexpr int PortraitMaximumWidth = 600;
Arrangement ArrangementFor(int pageWidth, int pageHeight);
// Set (true) on a window arranged to fill the page of a phone held upright, as the main window
// does there: the page shows it full-screen, without a frame.
inline constexpr const char* FillsPageProperty = "brzdomatFillsPage";

// A plain window holding its menu bar and client area in a box, not a QMainWindow: the main
// window's dock and toolbar machinery would be a third of a megabyte more of the toolkit's code
// in memory at every start, for areas this window never has.
class MainWindow : public QWidget {
public:
    MainWindow();

    QMenuBar* menuBar() const { return m_MenuBar; }
    QWidget* centralWidget() const { return m_Client; }

    // Places the controls for a page of the given size; the designed arrangement ignores it.
    void Arrange(Arrangement, int pageWidth, int pageHeight);
    Arrangement CurrentArrangement() const { return m_Arrangement; }

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
    void ArrangePortrait(int pageWidth, int pageHeight);

    QMenuBar* m_MenuBar = nullptr;
    QWidget* m_Client = nullptr;
    Commands m_Commands;
    Arrangement m_Arrangement = Arrangement::Designed;
    // Where each control of the client area stands in the design, to go back to it.
    struct DesignedPlace {
        QWidget* Control;
        QRect Geometry;
        bool Visible;
    };
    std::vector<DesignedPlace> m_Designed;
    // The portrait arrangement's one button for the menus, made when first needed.
    QPushButton* m_MenuButton = nullptr;
};

} // namespace brzdomat
