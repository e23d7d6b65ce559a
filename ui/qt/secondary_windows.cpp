#include "ui/qt/secondary_windows.h"

#include "ui/qt/compiled_pictures.h"
#include "ui/qt/fixed_size_dialog.h"
#include "ui/qt/layout_fonts.h"
#include "ui/qt/picture_view.h"
#include "ui/qt/widget_helpers.h"
#include "ui/ui_surface.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QTimer>

namespace brzdomat {
namespace {

// The web address as the About window's link shows it.
constexpr std::string_view ProductWebAddressText = "www.brzdomat.example";

void SetBackground(QWidget* widget, QColor colour)
{
    auto palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// A label at its place, sized to its text as the layout's labels are, with the width its text had
// in the design's face (0 where the place was wider than the text).
QLabel* AddLabel(QWidget* window, const char* name, QPoint place, const QString& text,
    const QFont& font, int designWidth)
{
    auto* label = new QLabel(text, window);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(font);
    SetDesignWidth(label, designWidth);
    KeepDesignBaseline(label);
    label->setTextFormat(Qt::PlainText);
    label->move(place);
    label->adjustSize();
    return label;
}

enum class EscapeCloses { No, Yes };

// A window of the layout at its design size, in the layout's font. Escape closes About and the
// program information, as their close button does; the splash closes only by itself or its close
// button.
class FixedWindow : public FixedSizeDialog {
public:
    FixedWindow(QWidget* parent, const char* name, const QString& caption, QSize client,
        EscapeCloses escape)
        : FixedSizeDialog(parent)
        , m_Escape(escape)
    {
        setObjectName(QString::fromLatin1(name));
        setWindowTitle(caption);
        setFont(LayoutFont(WindowFontPixels));
        setFixedSize(client);
        setSizeGripEnabled(false);
        // Centred on the screen rather than over the main window; again once shown, when the
        // window system may have told the size of the frame.
        CentreFrameOnScreen(*this);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
            event->accept();
            if (m_Escape == EscapeCloses::Yes)
                close();
            return;
        }
        QDialog::keyPressEvent(event);
    }

private:
    EscapeCloses m_Escape;
};

class SplashWindow : public FixedWindow {
public:
    SplashWindow(QWidget* parent, std::chrono::milliseconds delay)
        : FixedWindow(
            parent, "TForm2", QStringLiteral("Tervolan"), QSize(151, 199), EscapeCloses::No)
    {
        SetBackground(this, palette().color(QPalette::Button));

        auto* picture = new PictureView(this);
        picture->setObjectName(QStringLiteral("Image1"));
        picture->setGeometry(0, 0, 153, 201);
        picture->SetImage(ImageOf(SplashPicture));

        const QFont bold = LayoutFont(WindowFontPixels, Weight::Bold);
        auto* freeWare
            = AddLabel(this, "Label1", QPoint(42, 8), QStringLiteral("Free Ware"), bold, 60);
        SetTextColour(freeWare, Green);
        SetBackground(freeWare, Qt::white);
        auto* tervolan
            = AddLabel(this, "Label2", QPoint(51, 184), QStringLiteral("Tervolan"), bold, 0);
        SetTextColour(tervolan, Red);
        SetBackground(tervolan, Qt::white);

        // Precise, so that the window never closes before its full two seconds.
        auto* timer = new QTimer(this);
        timer->setObjectName(QStringLiteral("Timer1"));
        timer->setTimerType(Qt::PreciseTimer);
        timer->setInterval(delay);
        connect(timer, &QTimer::timeout, this, [this, timer] { Timer1Timer(timer); });
        timer->start();
        FitLayoutFaces(this);
    }

private:
    void Timer1Timer(QTimer* timer)
    {
        timer->stop();
        close();
    }
};

// The About window's link: blue while the pointer moves over it, opening the web page when
// clicked. A click is a press and a release both on the label. The keyboard reaches it with Tab
// and opens the page with Enter, as a link in a browser.
class LinkLabel : public QLabel {
public:
    LinkLabel(QWidget* parent, std::function<void()> onMove, std::function<void()> onClick)
        : QLabel(parent)
        , m_OnMove(std::move(onMove))
        , m_OnClick(std::move(onClick))
    {
        InstallAccessible<LinkLabel, &Accessible>();
        setMouseTracking(true);
        setFocusPolicy(Qt::TabFocus);
    }

    void Activate() { m_OnClick(); }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (IsPlainEnter(*event)) {
            event->accept();
            if (!event->isAutoRepeat())
                m_OnClick();
            return;
        }
        QLabel::keyPressEvent(event);
    }
    void paintEvent(QPaintEvent* event) override
    {
        QLabel::paintEvent(event);
        if (!hasFocus())
            return;
        QStylePainter painter(this);
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        m_OnMove();
        event->accept();
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        m_Pressed = event->button() == Qt::LeftButton;
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        const bool click = m_Pressed && event->button() == Qt::LeftButton
            && rect().contains(event->position().toPoint());
        m_Pressed = false;
        event->accept();
        if (click)
            m_OnClick();
    }

private:
    // A link to screen readers, whose press action opens the page as Enter does.
    class AccessibleLink : public NamedAccessible {
    public:
        explicit AccessibleLink(LinkLabel* link)
            : NamedAccessible(link, QAccessible::Link, [link] { return link->text(); })
        {
        }
        QStringList actionNames() const override
        {
            return QStringList(pressAction()) + QAccessibleWidget::actionNames();
        }
        void doAction(const QString& action) override
        {
            if (action == pressAction())
                static_cast<LinkLabel*>(widget())->Activate();
            else
                QAccessibleWidget::doAction(action);
        }
    };
    static QAccessibleInterface* Accessible(LinkLabel* link) { return new AccessibleLink(link); }

    std::function<void()> m_OnMove;
    std::function<void()> m_OnClick;
    bool m_Pressed = false;
};

class AboutWindow : public FixedWindow {
public:
    AboutWindow(QWidget* parent, std::function<void(std::string_view)> openWebAddress)
        : FixedWindow(parent, "TForm3", QStringLiteral("About"), QSize(193, 244), EscapeCloses::Yes)
        , m_OpenWebAddress(std::move(openWebAddress))
    {
        SetBackground(this, Qt::white);
        setMouseTracking(true);
        const QFont bold = LayoutFont(WindowFontPixels, Weight::Bold);

        auto* name = AddLabel(this, "Label5", QPoint(54, 88), QStringLiteral("Brzdomat"), bold, 0);
        SetTextColour(name, Red);

        auto* icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("Image1"));
        icon->setGeometry(80, 112, 33, 33);
        icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        icon->setPixmap(QPixmap::fromImage(ImageOf(AboutIcon)));

        auto* freeWare = AddLabel(this, "Label6", QPoint(22, 152),
            QStringLiteral("This product is Free Ware"), bold, 148);
        SetTextColour(freeWare, Green);

        auto* ok = new QPushButton(QStringLiteral("Ok"), this);
        ok->setObjectName(QStringLiteral("Button1"));
        ok->setGeometry(48, 176, 97, 25);
        connect(ok, &QPushButton::clicked, this, &AboutWindow::Button1Click);

        m_Link = new LinkLabel(
            this, [this] { Label7MouseMove(); }, [this] { Label7Click(); });
        m_Link->setObjectName(QStringLiteral("Label7"));
        m_Link->setTextFormat(Qt::PlainText);
        m_Link->setText(FromUtf8(ProductWebAddressText));
        KeepDesignBaseline(m_Link);
        m_Link->move(39, 208);
        m_Link->adjustSize();
        m_Link->setCursor(Qt::PointingHandCursor);
        m_Link->setToolTip(QStringLiteral("Oficiální stránky"));

        FitLayoutFaces(this);
        ok->setFocus();
    }

protected:
    // Only the bare surface counts: a move over another control reaches the window too (those
    // controls do not track the mouse), and must leave the link as it is.
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!childAt(event->position().toPoint()))
            FormMouseMove();
        QDialog::mouseMoveEvent(event);
    }

private:
    void Button1Click() { close(); }
    // Opening the page reports nothing, whatever happens: without a browser the click simply
    // has no visible effect, and nothing may escape into the event loop.
    void Label7Click()
    {
        if (!m_OpenWebAddress)
            return;
        try {
            m_OpenWebAddress(ProductWebAddress);
        } catch (...) {
        }
    }
    void Label7MouseMove() { SetTextColour(m_Link, Blue); }
    void FormMouseMove() { SetTextColour(m_Link, Black); }

    std::function<void(std::string_view)> m_OpenWebAddress;
    LinkLabel* m_Link = nullptr;
};

struct InfoLine {
    const char* Name;
    QPoint Place;
    const char* Text;
    Weight Boldness;
    // The text's width in the design's face.
    int DesignWidth;
};

// Top to bottom: the mode names stand at left 64, their descriptions at left 216.
const InfoLine ProgramInfoLines[] = {
    { "Label1", { 8, 8 },
        "Program slouží k procvičování ke zkouškám v autoškole a k  přezkušovacím testům.",
        Weight::Regular, 401 },
    { "Label2", { 8, 32 }, "Volby testů:", Weight::Regular, 55 },
    { "Label3", { 64, 48 }, "Vybrat si test:", Weight::Bold, 79 },
    { "Label6", { 216, 48 }, "Umožní si vybrat přímo číslo zvoleného testu ke zkoušení",
        Weight::Regular, 272 },
    { "Label4", { 64, 64 }, "Náhodný celý test:", Weight::Bold, 107 },
    { "Label7", { 216, 64 }, "Náhodně vybere číslo testu ke zkoušení (1-32)", Weight::Regular,
        221 },
    { "Label5", { 64, 80 }, "Náhodný výběr otázek:", Weight::Bold, 132 },
    { "Label8", { 216, 80 }, "Náhodně se budou vybírat jednotlivé otázky (1-25)", Weight::Regular,
        238 },
    { "Label9", { 216, 96 }, "z různých testů", Weight::Regular, 71 },
    { "Label13", { 64, 112 }, "Úplně. náh. výběr otázek:", Weight::Bold, 148 },
    { "Label14", { 216, 112 }, "Uživatel si zvolí počet otázek - budou se zobrazovat",
        Weight::Regular, 246 },
    { "Label15", { 216, 128 }, "náhodně vybrané otázky z náhodných testů", Weight::Regular, 207 },
    { "Label10", { 16, 152 },
        "Jednotlivé otázky s obrázky jsou uloženy ve složce img. Tyto obrázky nesmí být smazány!",
        Weight::Regular, 420 },
    { "Label11", { 16, 168 },
        "Jinak to bude mít za následek částečnou, či úplnou nefunkčnost programu.", Weight::Regular,
        355 },
    { "Label12", { 16, 184 },
        "Obrázky ale můžete nahradit za kvalitnější (v případě, že je získáte).", Weight::Regular,
        321 },
};

} // namespace

std::unique_ptr<QDialog> MakeSplashWindow(QWidget* parent, std::chrono::milliseconds delay)
{
    return std::make_unique<SplashWindow>(parent, delay);
}

std::unique_ptr<QDialog> MakeAboutWindow(
    QWidget* parent, std::function<void(std::string_view)> openWebAddress)
{
    return std::make_unique<AboutWindow>(parent, std::move(openWebAddress));
}

std::unique_ptr<QDialog> MakeProgramInfoWindow(QWidget* parent)
{
    auto window = std::make_unique<FixedWindow>(
        parent, "TForm5", QStringLiteral("O programu"), QSize(498, 209), EscapeCloses::Yes);
    SetBackground(window.get(), window->palette().color(QPalette::Button));
    for (const auto& line : ProgramInfoLines)
        AddLabel(window.get(), line.Name, line.Place, QString::fromUtf8(line.Text),
            LayoutFont(WindowFontPixels, line.Boldness), line.DesignWidth);
    FitLayoutFaces(window.get());
    return window;
}

} // namespace brzdomat
