#include "ui/qt/web_page.h"

#include "ui/qt/application.h"
#include "ui/qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

#include <emscripten.h>

#include <algorithm>

namespace brzdomat {

namespace {

// Qt draws a frame around each window on the page: a border of 4 pixels and a title bar of 18.
constexpr int FrameWidth = 2 * 4;
constexpr int FrameHeight = 2 * 4 + 18 + 4;
// The menu bar between the title bar and the client area, and the page's margin around all.
constexpr int MenuBarHeight = 22;
constexpr int PageMargin = 8;
// Below this the texts could no longer be read; the page then scrolls what does not fit.
constexpr double SmallestScale = 0.4;

EM_JS(int, PageWidth, (), { return window.innerWidth; });
EM_JS(int, PageHeight, (), { return window.innerHeight; });

EM_JS(void, OpenInNewTab, (const char* address),
    { window.open(UTF8ToString(address), "_blank", "noopener,noreferrer"); });

EM_JS(void, TellPageProgramEnded, (), {
    if (Module.brzdomatEnded)
        Module.brzdomatEnded();
});

class PageEdges : public QObject {
    Q_OBJECT

public:
    explicit PageEdges(MainWindow& main)
        : QObject(&main)
    {
        main.installEventFilter(this);
        qApp->installEventFilter(this);
    }

    void GiveBackKeyboard()
    {
        QWidget* window = QApplication::activeModalWidget();
        if (!window)
            window = static_cast<MainWindow*>(parent());
        if (window->isVisible()) {
            window->raise();
            window->activateWindow();
        }
    }

    Q_INVOKABLE void Open(const QUrl& address)
    {
        OpenInNewTab(address.toString(QUrl::FullyEncoded).toUtf8().constData());
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // The page's platform gives the keyboard to no window when a box closes, where a desktop
        // gives it back to the box below or to the main window; without it the keyboard would
        // reach nothing until the next click.
        if (event->type() == QEvent::Hide && watched != parent() && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->isWindow())
            QMetaObject::invokeMethod(this, &PageEdges::GiveBackKeyboard, Qt::QueuedConnection);
        // The platform answers show() with a full-screen state, which moves the window to the
        // page's corner, and only later, when the window is back to its normal state, lets it
        // be placed again.
        if (event->type() == QEvent::WindowStateChange && watched == parent()) {
            auto* main = static_cast<MainWindow*>(parent());
            if (main->windowState() == Qt::WindowNoState)
                QMetaObject::invokeMethod(main, &MainWindow::CentreOnScreen, Qt::QueuedConnection);
        }
        // The main window always accepts its close: the program ends, and the page says so.
        if (event->type() == QEvent::Close && watched == parent())
            TellPageProgramEnded();
        return false;
    }
};

} // namespace

void ScaleToPage()
{
    const double width = ClientWidth + FrameWidth + 2 * PageMargin;
    const double height = ClientHeight + MenuBarHeight + FrameHeight + 2 * PageMargin;
    const double scale = std::min({ 1.0, PageWidth() / width, PageHeight() / height });
    if (scale < 1.0)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(std::max(scale, SmallestScale)));
}

void AddPageFonts()
{
    const QDir fonts(QStringLiteral("/fonts"));
    for (const QString& file : fonts.entryList(QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(file));
}

void JoinPage(Application& program)
{
    MainWindow& main = program.Main();
    // The page's platform shows every top-level window full-screen; this one keeps its size, in
    // the middle of the page.
    main.showNormal();
    main.CentreOnScreen();
    // The canvas follows the page's size, and the window stays in its middle.
    if (auto* screen = main.screen())
        QObject::connect(
            screen, &QScreen::geometryChanged, &main, [&main] { main.CentreOnScreen(); });
    auto* edges = new PageEdges(main);
    QDesktopServices::setUrlHandler(QStringLiteral("https"), edges, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), edges, "Open");
}

} // namespace brzdomat

#include "web_page.moc"
