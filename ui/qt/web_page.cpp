#include "ui/qt/web_page.h"

#include "bank/question_picture.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_view.h"
#include "ui/qt/widget_helpers.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

#include <emscripten.h>

namespace brzdomat {

namespace {

// The page's margin around the window's frame.
constexpr int PageMargin = 8;

// Qt measures its screen again only when the browser window is resized, or when asked.
EM_JS(void, TellPageWindowSize, (int width, int height), {
    if (Module.brzdomatFitPage)
        Module.brzdomatFitPage(width, height);
    Module.qtResizeAllScreens(null);
});

EM_JS(void, OpenInNewTab, (const char* address),
    { window.open(UTF8ToString(address), "_blank", "noopener,noreferrer"); });

EM_JS(void, TellPageProgramEnded, (), {
    if (Module.brzdomatEnded)
        Module.brzdomatEnded();
});

// A reload or another address would end a running test without a word: the page asks first
// while one runs (the browser's own "leave site?" question), and not otherwise.
EM_JS(void, TellPageTestRuns, (bool runs), {
    if (Module.brzdomatTestRuns)
        Module.brzdomatTestRuns(runs);
});

// The page's own size in its pixels, whatever scale the program's screen is shown at.
EM_JS(int, PageWidth, (), { return innerWidth; });
EM_JS(int, PageHeight, (), { return innerHeight; });

// The picture over the whole page, where the browser's own gestures zoom and move it
// (brzdomat-page.js); a tap or Back closes it. The pixels are copied: the page keeps them while
// the program goes on.
// clang-format off
EM_JS(void, ShowPictureOverPage, (const unsigned char* rgb, int width, int height, const char* name), {
    if (Module.brzdomatShowPicture)
        Module.brzdomatShowPicture(HEAPU8.slice(rgb, rgb + width * height * 3), width, height,
            UTF8ToString(name));
});
// clang-format on

class PageEdges : public QObject {
    Q_OBJECT

public:
    explicit PageEdges(MainWindow& main)
        : QObject(&main)
    {
        main.installEventFilter(this);
        qApp->installEventFilter(this);
    }

    // The newest open box, or the main window when none is open, in front and with the keyboard.
    void FrontTopWindow()
    {
        QWidget* window = QApplication::activeModalWidget();
        if (!window)
            window = static_cast<MainWindow*>(parent());
        if (window->isVisible()) {
            window->raise();
            window->activateWindow();
        }
    }

    // What the main window needs of the page, as it last told it.
    static inline QSize MainNeeds;

    void FitWindows()
    {
        QSize needed = MainNeeds;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window == parent() || !window->isVisible() || window->windowType() == Qt::Popup
                || window->property(FillsPageProperty).toBool())
                continue;
            const QSize frame = window->frameGeometry().size();
            needed = needed.expandedTo(
                QSize(frame.width() + 2 * PageMargin, frame.height() + 2 * PageMargin));
        }
        if (needed == m_Told)
            return;
        m_Told = needed;
        TellPageWindowSize(needed.width(), needed.height());
        if (QWidget* modal = QApplication::activeModalWidget())
            CentreFrameOnScreen(*modal);
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
            QMetaObject::invokeMethod(this, &PageEdges::FrontTopWindow, Qt::QueuedConnection);
        // A box opened while another is open (the clock's time-out over "spatně") is first made
        // while the older box still blocks every window, and the platform answers by raising
        // the older one over it: once shown, the newest box is brought to the front.
        if (event->type() == QEvent::Show && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->isModal())
            QMetaObject::invokeMethod(this, &PageEdges::FrontTopWindow, Qt::QueuedConnection);
        // The platform answers show() with a full-screen state, which moves the window to the
        // page's corner, and only later, when the window is back to its normal state, lets it
        // be placed again.
        if (event->type() == QEvent::WindowStateChange && watched == parent()) {
            auto* main = static_cast<MainWindow*>(parent());
            if (main->windowState() == Qt::WindowNoState
                && main->CurrentArrangement() == Arrangement::Designed)
                QMetaObject::invokeMethod(main, &MainWindow::CentreOnScreen, Qt::QueuedConnection);
        }
        // A box wider than the page (the review on a phone) gets the page scaled down for as
        // long as it is shown, and the page goes back to the main window's needs after it.
        if ((event->type() == QEvent::Show || event->type() == QEvent::Hide) && watched != parent()
            && watched->isWidgetType() && static_cast<QWidget*>(watched)->isWindow()
            && !(static_cast<QWidget*>(watched)->windowType() == Qt::Popup))
            QMetaObject::invokeMethod(this, &PageEdges::FitWindows, Qt::QueuedConnection);
        // A window arranged to fill an upright phone's page is shown as the column is: over the
        // whole page, without a frame.
        if (event->type() == QEvent::Show && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (window->isWindow() && window->property(FillsPageProperty).toBool()
                && !window->windowState().testFlag(Qt::WindowFullScreen))
                window->setWindowState(Qt::WindowFullScreen);
        }
        // The main window always accepts its close: the program ends, and the page says so.
        if (event->type() == QEvent::Close && watched == parent())
            TellPageProgramEnded();
        return false;
    }

private:
    // The page size last asked for.
    QSize m_Told;
};

} // namespace

void AddPageFonts()
{
    const QDir fonts(QStringLiteral("/fonts"));
    for (const QString& file : fonts.entryList(QDir::Files))
        QFontDatabase::addApplicationFont(fonts.filePath(file));
}

namespace {

// The arrangement for the page as it is now. A phone held upright gets the window's controls in
// a column filling the page, without a frame; anything wider keeps the designed window in the
// middle of the page, scaled down whole when the page is smaller (brzdomat-page.js).
void ArrangeForPage(MainWindow& main, bool force)
{
    const int width = PageWidth();
    const int height = PageHeight();
    const Arrangement arrangement = ArrangementFor(width, height);
    static QSize arrangedFor;
    if (!force && arrangement == main.CurrentArrangement()
        && (arrangement == Arrangement::Designed || arrangedFor == QSize(width, height)))
        return;
    arrangedFor = QSize(width, height);
    main.Arrange(arrangement, width, height);
    if (arrangement == Arrangement::Portrait) {
        auto* picture = FindControl<PictureView>(main, Picture::Image1);
        picture->SetTapHandler([picture] {
            if (const auto& shown = picture->Picture())
                ShowPictureOverPage(shown->Pixels.data(), shown->Width, shown->Height,
                    picture->accessibleDescription().toUtf8().constData());
        });
        main.setWindowState(Qt::WindowFullScreen);
        main.move(0, 0);
        const QSize client = main.centralWidget()->size();
        PageEdges::MainNeeds = client;
        TellPageWindowSize(client.width(), client.height());
        return;
    }
    main.showNormal();
    main.CentreOnScreen();
    const QSize frame = main.frameGeometry().size();
    PageEdges::MainNeeds = QSize(frame.width() + 2 * PageMargin, frame.height() + 2 * PageMargin);
    TellPageWindowSize(PageEdges::MainNeeds.width(), PageEdges::MainNeeds.height());
}

} // namespace

void JoinPage(Application& program)
{
    MainWindow& main = program.Main();
    // The page's platform shows every top-level window full-screen; this one keeps its size, in
    // the middle of the page, unless the page is a phone's held upright.
    ArrangeForPage(main, true);
    // The canvas follows the page's size: the window stays in its middle, or is arranged anew
    // when the phone is turned.
    if (auto* screen = main.screen())
        QObject::connect(screen, &QScreen::geometryChanged, &main, [&main] {
            ArrangeForPage(main, false);
            if (main.CurrentArrangement() == Arrangement::Designed)
                main.CentreOnScreen();
        });
    // The pictures come from the page's server: the next question's is fetched while the user
    // answers the one on screen.
    program.Surface().SetNextQuestionHandler([&program](QuestionRef next) {
        LoadQuestionPictureAhead(program.Controller().StartDirectory(), next);
    });
    // "&Ukončit testování" can be chosen exactly while a test runs.
    auto* endTest = FindControl<QAction>(main, MenuItem::Ukonittest1);
    QObject::connect(
        endTest, &QAction::changed, &main, [endTest] { TellPageTestRuns(endTest->isEnabled()); });
    auto* edges = new PageEdges(main);
    QDesktopServices::setUrlHandler(QStringLiteral("https"), edges, "Open");
    QDesktopServices::setUrlHandler(QStringLiteral("http"), edges, "Open");
}

} // namespace brzdomat

#include "web_page.moc"
