#pragma once

// TForm1, the program's one working window: the status strip, the answer columns with
// "Potvrď", the question picture, the fixed texts and the main menu. It holds no decisions: the
// logic reaches its controls through QtSurface by their objectNames, and the menu's and the
// button's commands go out through the callbacks the application sets.

#include <QFont>
#include <QMainWindow>

#include <functional>

class QLabel;

namespace brzdomat {

// The font of every control without one of its own, and the others by character height in
// pixels. "MS Sans Serif" is a Windows bitmap font; the families after it are close sans-serif
// faces whose texts fit the places of the layout.
enum class Weight { Regular, Bold };
QFont LayoutFont(int pixelSize, Weight = Weight::Regular);
// Lowers a label's text, inside the label's place, to where the design's font had its baseline,
// so that texts of one row in different faces stand on one line, and a face with a shorter
// ascent neither lifts the text nor cuts the accents of capitals ("Č") at the label's top. Call
// it after the label's font is set.
void KeepDesignBaseline(QLabel*);
inline constexpr int WindowFontPixels = 11;

inline constexpr int ClientWidth = 792;
inline constexpr int ClientHeight = 544;

class MainWindow : public QMainWindow {
public:
    MainWindow();

    // Commands of the window, set by the application.
    struct Commands {
        std::function<void(int test)> ChosenTest; // "1" .. "32"
        std::function<void()> RandomWholeTest;
        std::function<void()> RandomSelection;
        std::function<void()> FullyRandom;
        std::function<void()> EndTest;
        std::function<void()> Confirm; // "Potvrď"
        std::function<void()> ClockTick;
        std::function<void()> Close; // "&Zavřít"
        std::function<void()> ProgramInfo;
        std::function<void()> About;
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
