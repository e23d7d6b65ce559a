#include "ui/qt/application.h"

#include "ui/error_path.h"
#include "ui/qt/compiled_pictures.h"
#include "ui/qt/secondary_windows.h"
#include "ui/qt/widget_helpers.h"

#include <QCoreApplication>
#include <QDialog>
#include <QIcon>
#include <QPixmap>

namespace brzdomat {

namespace {

std::unique_ptr<QDialog> MakeProgramWindow(
    Window window, QWidget* parent, UiSurface& surfaceForLinks)
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

} // namespace

// Message boxes, the input box and the menus keep the desktop's font; only the windows of the
// layout use its 11-pixel fonts.
Application::Application(std::string applicationTitle, WindowFactory factory)
    : m_Main(std::make_unique<MainWindow>())
{
    if (!factory) {
        factory = [this](Window window, QWidget* parent) {
            return MakeProgramWindow(window, parent, *m_Surface);
        };
    }
    m_Surface = std::make_unique<QtSurface>(
        m_Main.get(), std::move(applicationTitle), std::move(factory));
    m_Controller = std::make_unique<ExamController>(*m_Surface);

    auto command
        = [this](ExamController::Handler handler, Activation activation = Activation::First) {
              return [this, handler, activation] { Run(handler, activation); };
          };
    MainWindow::Commands commands;
    commands.ChosenTest = [this](int test) {
        auto index = static_cast<std::size_t>(test - 1);
        if (index < ExamController::ChosenTestHandlers.size())
            Run(ExamController::ChosenTestHandlers[index], Activation::First);
    };
    commands.MenuCommand = [this](MenuItem item) {
        // Closing needs no activation first: the program ends.
        auto activation = item == MenuItem::Zavt1 ? Activation::NotNeeded : Activation::First;
        if (auto handler = ExamController::MenuHandler(item))
            Run(handler, activation);
    };
    commands.Confirm = command(&ExamController::Button1Click);
    // The clock's tick needs no activation first: it runs only during a test run.
    commands.ClockTick = command(&ExamController::Timer1Timer, Activation::NotNeeded);
    // The splash window opens from the event loop, not from inside the activation or the click
    // that reported it.
    commands.Activated = [this] {
        QMetaObject::invokeMethod(
            m_Main.get(), [this] { Activate(); }, Qt::QueuedConnection);
    };
    commands.Closing = [this] {
        // Closing ends the program at once, also in the middle of a test run: no further tick
        // may come, and every event loop, nested ones included, is left.
        m_Surface->StopTimer(Timer::Timer1);
        QCoreApplication::exit(0);
    };
    m_Main->SetCommands(std::move(commands));

    Run(&ExamController::FormCreate, Activation::NotNeeded);
}

void Application::Show()
{
    m_Main->CentreOnScreen();
    m_Main->show();
    // Without a window manager nobody else gives the new window the focus.
    m_Main->activateWindow();
    // The icon is handed to the window system once the window is on screen, so the first paint
    // does not wait for it.
    QMetaObject::invokeMethod(
        m_Main.get(),
        [this] { m_Main->setWindowIcon(QIcon(QPixmap::fromImage(ImageOf(WindowIcon)))); },
        Qt::QueuedConnection);
}

void Application::Activate()
{
    if (m_Activating || m_Controller->ActivatedOnce())
        return;
    m_Activating = true;
    Run(&ExamController::FormActivate, Activation::NotNeeded);
    m_Activating = false;
}

void Application::Run(ExamController::Handler handler, Activation activation)
{
    // A command before the first activation was reported (some window managers never report
    // one) first does the activation's work, so the start directory is known.
    if (activation == Activation::First)
        Activate();
    RunHandler(*m_Surface, [this, handler] { (m_Controller.get()->*handler)(); });
}

} // namespace brzdomat
