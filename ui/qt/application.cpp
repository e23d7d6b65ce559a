#include "ui/qt/application.h"

#include "ui/error_path.h"
#include "ui/qt/secondary_windows.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QIcon>
#include <QTimer>

namespace brzdomat {

std::unique_ptr<QDialog> MakeProgramWindow(
    brzdomat::Window window, QWidget* parent, UiSurface& surfaceForLinks)
{
    switch (window) {
    case Window::TForm2:
        return MakeSplashWindow(parent);
    case Window::TForm3:
        return MakeAboutWindow(parent, [&surfaceForLinks](std::string_view address) {
            surfaceForLinks.OpenWebAddress(address);
        });
    case Window::TForm5:
        return MakeProgramInfoWindow(parent);
    case Window::TForm1:
        break;
    }
    return nullptr;
}

Application::Application(std::string applicationTitle, WindowFactory factory)
    : Main(std::make_unique<MainWindow>())
{
    if (!factory) {
        factory = [this](brzdomat::Window window, QWidget* parent) {
            return MakeProgramWindow(window, parent, *Screen);
        };
    }
    Screen
        = std::make_unique<QtSurface>(Main.get(), std::move(applicationTitle), std::move(factory));
    Logic = std::make_unique<TestController>(*Screen);

    auto& logic = *Logic;
    MainWindow::Commands commands;
    commands.ChosenTest = [this, &logic](int test) {
        auto index = static_cast<std::size_t>(test - 1);
        if (index < TestController::ChosenTestHandlers.size())
            Dispatch([&logic, index] { (logic.*TestController::ChosenTestHandlers[index])(); });
    };
    commands.RandomWholeTest
        = [this, &logic] { Dispatch([&logic] { logic.Nhodnceltest1Click(); }); };
    commands.RandomSelection
        = [this, &logic] { Dispatch([&logic] { logic.Nhodnvbrotzek251Click(); }); };
    commands.FullyRandom
        = [this, &logic] { Dispatch([&logic] { logic.plnnhodnvbrotzek1Click(); }); };
    commands.EndTest = [this, &logic] { Dispatch([&logic] { logic.Ukonittest1Click(); }); };
    commands.Confirm = [this, &logic] { Dispatch([&logic] { logic.Button1Click(); }); };
    // The clock's tick needs no activation first: it runs only during a test run.
    commands.ClockTick = [this, &logic] { RunHandler(*Screen, [&logic] { logic.Timer1Timer(); }); };
    commands.Close = [this, &logic] { RunHandler(*Screen, [&logic] { logic.Zavt1Click(); }); };
    commands.ProgramInfo = [this, &logic] { Dispatch([&logic] { logic.Oprogramu1Click(); }); };
    commands.About = [this, &logic] { Dispatch([&logic] { logic.About1Click(); }); };
    // The splash window opens from the event loop, not from inside the activation or the click
    // that reported it.
    commands.Activated = [this] {
        QMetaObject::invokeMethod(
            Main.get(), [this] { Activate(); }, Qt::QueuedConnection);
    };
    commands.Closing = [this] {
        // Closing ends the program at once, also in the middle of a test run: no further tick
        // may come, and every event loop, nested ones included, is left.
        Main->Clock()->stop();
        QCoreApplication::exit(0);
    };
    Main->SetCommands(std::move(commands));

    RunHandler(*Screen, [&logic] { logic.FormCreate(); });
}

void Application::Show()
{
    Main->CentreOnScreen();
    Main->show();
    // Without a window manager nobody else gives the new window the focus.
    Main->activateWindow();
    // The icon is decoded and handed to the window system once the window is on screen, so the
    // first paint does not wait for it.
    QMetaObject::invokeMethod(
        Main.get(),
        [this] {
            QIcon icon(QStringLiteral(":/icons/brzdomat.png"));
            if (!icon.isNull())
                Main->setWindowIcon(icon);
        },
        Qt::QueuedConnection);
}

void Application::Activate()
{
    if (Activating || Logic->ActivatedOnce())
        return;
    Activating = true;
    RunHandler(*Screen, [this] { Logic->FormActivate(); });
    Activating = false;
}

template <typename Handler> void Application::Dispatch(Handler&& handler)
{
    // A command before the first activation was reported (some window managers never report
    // one) first does the activation's work, so the start directory is known.
    Activate();
    RunHandler(*Screen, std::forward<Handler>(handler));
}

} // namespace brzdomat
