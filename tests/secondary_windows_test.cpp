// The splash, About and program-information windows on the offscreen platform: every text,
// place, font and colour of their design, the link's colour rules, the splash's own closing,
// and a fresh design state at each opening.

#include "ui/qt/secondary_windows.h"

#include "ui/qt/compiled_pictures.h"
#include "ui/qt/layout_fonts.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_view.h"

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace brzdomat {
namespace {

const QColor GreenText(0, 128, 0);
const QColor BlueText(0, 0, 255);
const QColor RedText(255, 0, 0);
const QColor BlackText(0, 0, 0);

QColor TextColour(const QWidget* widget)
{
    return widget->palette().color(QPalette::WindowText);
}

template <typename Widget = QWidget> Widget* Child(QWidget* window, const char* name)
{
    auto* found = window->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << "no " << name << " in " << window->objectName().toStdString();
    return found;
}

// Shows the window without its modal loop, so the test can drive it.
void ShowForTest(QDialog& window)
{
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
}

struct LabelDesign {
    const char* Name;
    QPoint Place;
    const char* Text;
    bool Bold;
    // Invalid: the window's text colour.
    QColor Colour;
};

void ExpectLabels(QDialog& window, const std::vector<LabelDesign>& labels)
{
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    for (const auto& design : labels) {
        SCOPED_TRACE(design.Name);
        auto* label = Child<QLabel>(&window, design.Name);
        if (!label)
            continue;
        EXPECT_EQ(label->pos(), design.Place);
        EXPECT_EQ(label->text().toStdString(), design.Text);
        EXPECT_EQ(label->font().pixelSize(), 11);
        EXPECT_EQ(label->font().bold(), design.Bold);
        EXPECT_EQ(TextColour(label), design.Colour.isValid() ? design.Colour : windowText);
        // Sized to the text, inside the window: nothing of the text is cut.
        EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
        EXPECT_GE(label->height(), label->fontMetrics().height());
        // The accents of capitals ("Ú") stay inside the label, which would cut them.
        EXPECT_GE(label->contentsRect().top() + label->fontMetrics().ascent()
                + label->fontMetrics().boundingRect(label->text()).top(),
            0);
        EXPECT_LE(label->geometry().right(), window.width() - 1);
        EXPECT_LE(label->geometry().bottom(), window.height() - 1);
    }
}

TEST(SecondaryWindows, AreFixedCentredDialogsWithOnlyACloseButton)
{
    const struct {
        std::unique_ptr<QDialog> Window;
        const char* Name;
        const char* Caption;
        QSize Client;
    } windows[] = {
        { MakeSplashWindow(nullptr), "TForm2", "Tervolan", { 151, 199 } },
        { MakeAboutWindow(nullptr, nullptr), "TForm3", "About", { 193, 244 } },
        { MakeProgramInfoWindow(nullptr), "TForm5", "O programu", { 498, 209 } },
    };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const auto& each : windows) {
        SCOPED_TRACE(each.Name);
        QDialog& window = *each.Window;
        EXPECT_EQ(window.objectName().toStdString(), each.Name);
        EXPECT_EQ(window.windowTitle().toStdString(), each.Caption);
        EXPECT_EQ(window.size(), each.Client);
        EXPECT_EQ(window.minimumSize(), each.Client) << "the user cannot resize it";
        EXPECT_EQ(window.maximumSize(), each.Client) << "the user cannot resize it";
        const auto flags = window.windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
        EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
        EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint));
        EXPECT_EQ(window.font().pixelSize(), 11);
        EXPECT_FALSE(window.font().bold());
        EXPECT_LE(std::abs(window.geometry().center().x() - screen.center().x()), 1);
        EXPECT_LE(std::abs(window.geometry().center().y() - screen.center().y()), 1);
    }
}

TEST(SplashWindow, ShowsItsDesign)
{
    auto window = MakeSplashWindow(nullptr);
    ExpectLabels(*window,
        {
            { "Label1", { 42, 8 }, "Free Ware", true, GreenText },
            { "Label2", { 51, 184 }, "Tervolan", true, RedText },
        });
    for (const char* name : { "Label1", "Label2" }) {
        auto* label = Child<QLabel>(window.get(), name);
        ASSERT_NE(label, nullptr);
        EXPECT_TRUE(label->autoFillBackground()) << name << ": opaque behind its text";
        EXPECT_EQ(label->palette().color(QPalette::Window), QColor(Qt::white)) << name;
    }
    EXPECT_EQ(
        window->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));

    auto* picture = Child<PictureView>(window.get(), "Image1");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 153, 201));
    const QImage& image = picture->Image();
    EXPECT_EQ(image.size(), QSize(152, 200));
    // The labels are drawn over the picture, not under it.
    EXPECT_LT(window->children().indexOf(picture),
        window->children().indexOf(Child(window.get(), "Label1")));

    // On screen: the picture at its natural size from the top-left corner, the labels' white
    // behind their text.
    ShowForTest(*window);
    const QImage shot = window->grab().toImage();
    for (const QPoint at : { QPoint(0, 0), QPoint(75, 150), QPoint(150, 120), QPoint(20, 198) })
        EXPECT_EQ(shot.pixelColor(at), image.pixelColor(at)) << at.x() << ", " << at.y();
    auto* label = Child<QLabel>(window.get(), "Label2");
    EXPECT_EQ(shot.pixelColor(label->geometry().topLeft()), QColor(Qt::white));
    window->close();
}

TEST(SplashWindow, ClosesItselfAfterItsDelay)
{
    auto window = MakeSplashWindow(nullptr);
    auto* timer = Child<QTimer>(window.get(), "Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive()) << "running from creation";
    EXPECT_EQ(timer->interval(), 2000);
    EXPECT_EQ(timer->timerType(), Qt::PreciseTimer) << "never closes before its full delay";

    // The same window with a short delay, so that the test need not wait two seconds.
    auto quick = MakeSplashWindow(nullptr, std::chrono::milliseconds(1));
    auto* quickTimer = Child<QTimer>(quick.get(), "Timer1");
    // A guard, so that a splash which never closes fails the test instead of hanging it.
    QTimer::singleShot(10'000, quick.get(), [&] { quick->done(-1); });
    EXPECT_NE(quick->exec(), -1) << "did not close by itself";
    EXPECT_FALSE(quickTimer->isActive());
}

TEST(SplashWindow, ClosesEarlierByItsCloseButtonButNotByEscape)
{
    auto window = MakeSplashWindow(nullptr);
    ShowForTest(*window);
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    // The timer that would have closed it may still tick; that must do no harm.
    auto* timer = Child<QTimer>(window.get(), "Timer1");
    timer->setInterval(1);
    EXPECT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }));
    EXPECT_FALSE(window->isVisible());
}

TEST(AboutWindow, ShowsItsDesign)
{
    auto window = MakeAboutWindow(nullptr, nullptr);
    ExpectLabels(*window,
        {
            { "Label5", { 54, 88 }, "Brzdomat", true, RedText },
            { "Label6", { 22, 152 }, "This product is Free Ware", true, GreenText },
            { "Label7", { 39, 208 }, "www.brzdomat.example", false, QColor() },
        });
    EXPECT_EQ(window->palette().color(QPalette::Window), QColor(Qt::white));

    auto* icon = Child<QLabel>(window.get(), "Image1");
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->geometry(), QRect(80, 112, 33, 33));
    EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));
    EXPECT_EQ(icon->alignment(), Qt::AlignLeft | Qt::AlignTop);

    auto* ok = Child<QPushButton>(window.get(), "Button1");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->geometry(), QRect(48, 176, 97, 25));
    EXPECT_EQ(ok->text().toStdString(), "Ok");
    EXPECT_EQ(ok->font().pixelSize(), 11);
    auto* link = Child<QLabel>(window.get(), "Label7");
    ASSERT_NE(link, nullptr);
    for (auto* child : window->findChildren<QWidget*>())
        EXPECT_EQ(child->focusPolicy() != Qt::NoFocus, child == ok || child == link)
            << child->objectName().toStdString();
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(link->toolTip().toStdString(), "Oficiální stránky");

    // Nothing above the product's name.
    ShowForTest(*window);
    const QImage shot = window->grab().toImage();
    for (int y = 0; y < 88; y += 4)
        for (int x = 0; x < 193; x += 4)
            ASSERT_EQ(shot.pixelColor(x, y), QColor(Qt::white)) << x << ", " << y;
}

TEST(AboutWindow, LinkTurnsBlueOverItselfAndBlackOnlyOverTheBareSurface)
{
    auto window = MakeAboutWindow(nullptr, nullptr);
    ShowForTest(*window);
    auto* link = Child<QLabel>(window.get(), "Label7");
    ASSERT_NE(link, nullptr);
    const QColor designColour = TextColour(link);
    const auto centreOf
        = [&](const char* name) { return Child(window.get(), name)->geometry().center(); };

    const struct {
        const char* Where;
        QPoint To;
        QColor Expected;
    } moves[] = {
        { "the bare surface before the link was touched", { 10, 10 }, BlackText },
        { "the link", centreOf("Label7"), BlueText },
        { "the Ok button", centreOf("Button1"), BlueText },
        { "the product name", centreOf("Label5"), BlueText },
        { "the icon", centreOf("Image1"), BlueText },
        { "the Free Ware line", centreOf("Label6"), BlueText },
        { "the bare surface", { 5, 230 }, BlackText },
        { "the Ok button", centreOf("Button1"), BlackText },
        { "the link again", centreOf("Label7") + QPoint(10, 0), BlueText },
        { "the bare surface right of the link", { 185, 214 }, BlackText },
    };
    // At creation the link has the window's text colour; the first move sets it explicitly.
    EXPECT_EQ(designColour, QApplication::palette().color(QPalette::WindowText));
    for (const auto& move : moves) {
        QTest::mouseMove(window.get(), move.To);
        QCoreApplication::processEvents();
        EXPECT_EQ(TextColour(link), move.Expected) << "after moving over " << move.Where;
    }
}

TEST(AboutWindow, LinkClickOpensTheProductPageAndOkCloses)
{
    std::vector<std::string> opened;
    auto window
        = MakeAboutWindow(nullptr, [&](std::string_view address) { opened.emplace_back(address); });
    ShowForTest(*window);
    auto* link = Child<QLabel>(window.get(), "Label7");
    ASSERT_NE(link, nullptr);

    QTest::mouseClick(link, Qt::RightButton, {}, link->rect().center());
    EXPECT_TRUE(opened.empty()) << "only the left button clicks";
    QTest::mousePress(link, Qt::LeftButton, {}, link->rect().center());
    QTest::mouseRelease(link, Qt::LeftButton, {}, link->rect().bottomRight() + QPoint(30, 30));
    EXPECT_TRUE(opened.empty()) << "a press that is released elsewhere is no click";
    QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
    EXPECT_EQ(opened, std::vector<std::string> { "https://www.brzdomat.example/" });
    EXPECT_TRUE(window->isVisible()) << "the link leaves the window open";

    QTest::mouseClick(Child<QPushButton>(window.get(), "Button1"), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
}

TEST(AboutWindow, LinkIsReachedByTabOpenedByEnterAndALinkToScreenReaders)
{
    std::vector<std::string> opened;
    auto window
        = MakeAboutWindow(nullptr, [&](std::string_view address) { opened.emplace_back(address); });
    ShowForTest(*window);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    auto* ok = Child<QPushButton>(window.get(), "Button1");
    auto* link = Child<QLabel>(window.get(), "Label7");
    ASSERT_TRUE(ok && link);
    EXPECT_EQ(QApplication::focusWidget(), ok);
    QTest::keyClick(ok, Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), link);
    QTest::keyClick(link, Qt::Key_Return);
    QTest::keyClick(link, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_TRUE(window->isVisible()) << "Enter on the link is not the Ok button's";

    auto* accessible = QAccessible::queryAccessibleInterface(link);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Link);
    EXPECT_EQ(accessible->text(QAccessible::Name).toStdString(), "www.brzdomat.example");
    ASSERT_NE(accessible->actionInterface(), nullptr);
    accessible->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(opened, std::vector<std::string>(3, "https://www.brzdomat.example/"));

    QTest::keyClick(link, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), ok);
}

TEST(SecondaryWindows, EscapeClosesAboutAndTheProgramInformationButNotTheSplash)
{
    const struct {
        std::unique_ptr<QDialog> Window;
        bool Closes;
    } windows[] = {
        { MakeSplashWindow(nullptr), false },
        { MakeAboutWindow(nullptr, nullptr), true },
        { MakeProgramInfoWindow(nullptr), true },
    };
    for (const auto& each : windows) {
        SCOPED_TRACE(each.Window->objectName().toStdString());
        ShowForTest(*each.Window);
        each.Window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(each.Window.get()));
        // The key goes where a user's would: to the focused control, else the window.
        auto* focused = QApplication::focusWidget();
        QTest::keyClick(focused ? focused : each.Window.get(), Qt::Key_Escape);
        EXPECT_EQ(each.Window->isVisible(), !each.Closes);
        each.Window->close();
    }
}

TEST(AboutWindow, AFailureToOpenThePageStaysSilent)
{
    int attempts = 0;
    auto window = MakeAboutWindow(nullptr, [&](std::string_view) {
        ++attempts;
        throw std::runtime_error("no browser");
    });
    ShowForTest(*window);
    auto* link = Child<QLabel>(window.get(), "Label7");
    ASSERT_NE(link, nullptr);
    QTest::mouseClick(link, Qt::LeftButton, {}, link->rect().center());
    EXPECT_EQ(attempts, 1);
    EXPECT_TRUE(window->isVisible());
}

TEST(AboutWindow, EveryOpeningStartsFromTheDesign)
{
    const QColor windowText = QApplication::palette().color(QPalette::WindowText);
    for (int opening = 1; opening <= 2; ++opening) {
        auto window = MakeAboutWindow(nullptr, nullptr);
        ShowForTest(*window);
        auto* link = Child<QLabel>(window.get(), "Label7");
        ASSERT_NE(link, nullptr);
        EXPECT_EQ(TextColour(link), windowText) << "opening " << opening;
        // A different spot each time: a move to where the pointer already is reports nothing.
        QTest::mouseMove(window.get(), link->geometry().center() + QPoint(opening * 3, 0));
        QCoreApplication::processEvents();
        EXPECT_EQ(TextColour(link), BlueText) << "opening " << opening;
        window->close();
    }
}

TEST(ProgramInfoWindow, ShowsItsFifteenLabelsAndNothingElse)
{
    auto window = MakeProgramInfoWindow(nullptr);
    ExpectLabels(*window,
        {
            { "Label1", { 8, 8 },
                "Program slouží k procvičování ke zkouškám v autoškole a k  přezkušovacím testům.",
                false, QColor() },
            { "Label2", { 8, 32 }, "Volby testů:", false, QColor() },
            { "Label3", { 64, 48 }, "Vybrat si test:", true, QColor() },
            { "Label6", { 216, 48 }, "Umožní si vybrat přímo číslo zvoleného testu ke zkoušení",
                false, QColor() },
            { "Label4", { 64, 64 }, "Náhodný celý test:", true, QColor() },
            { "Label7", { 216, 64 }, "Náhodně vybere číslo testu ke zkoušení (1-32)", false,
                QColor() },
            { "Label5", { 64, 80 }, "Náhodný výběr otázek:", true, QColor() },
            { "Label8", { 216, 80 }, "Náhodně se budou vybírat jednotlivé otázky (1-25)", false,
                QColor() },
            { "Label9", { 216, 96 }, "z různých testů", false, QColor() },
            { "Label13", { 64, 112 }, "Úplně. náh. výběr otázek:", true, QColor() },
            { "Label14", { 216, 112 }, "Uživatel si zvolí počet otázek - budou se zobrazovat",
                false, QColor() },
            { "Label15", { 216, 128 }, "náhodně vybrané otázky z náhodných testů", false,
                QColor() },
            { "Label10", { 16, 152 },
                "Jednotlivé otázky s obrázky jsou uloženy ve složce img. Tyto obrázky nesmí být "
                "smazány!",
                false, QColor() },
            { "Label11", { 16, 168 },
                "Jinak to bude mít za následek částečnou, či úplnou nefunkčnost programu.", false,
                QColor() },
            { "Label12", { 16, 184 },
                "Obrázky ale můžete nahradit za kvalitnější (v případě, že je získáte).", false,
                QColor() },
        });
    const auto children = window->findChildren<QWidget*>();
    EXPECT_EQ(children.size(), 15);
    EXPECT_EQ(window->findChildren<QLabel*>().size(), 15);
    EXPECT_EQ(
        window->palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));

    // A mode name, bold, stands on the line of its description.
    auto baseline = [&](const char* name) {
        auto* label = Child<QLabel>(window.get(), name);
        return label->y() + label->contentsRect().top() + label->fontMetrics().ascent();
    };
    for (auto [mode, description] : { std::pair { "Label3", "Label6" }, { "Label4", "Label7" },
             { "Label5", "Label8" }, { "Label13", "Label14" } })
        EXPECT_EQ(baseline(mode), baseline(description)) << mode;

    // No two labels overlap: a mode name ends before its description begins.
    for (auto* first : children) {
        for (auto* second : children) {
            if (first == second)
                continue;
            EXPECT_FALSE(first->geometry().intersects(second->geometry()))
                << first->objectName().toStdString() << " overlaps "
                << second->objectName().toStdString();
        }
    }
}

// The design's "MS Sans Serif" is missing here, or lacks the Czech letters; the faces that stand
// in for it must keep the widths the layout was drawn for, or centred lines lose their centre and
// long lines run into the window's edge or the next control. Prints, per style, the worst
// differences of the program's fonts and, for comparison, of other installed faces.
TEST(LayoutFonts, KeepTheDesignWidthsOfEveryLabel)
{
    MainWindow main;
    auto about = MakeAboutWindow(nullptr, nullptr);
    auto info = MakeProgramInfoWindow(nullptr);
    auto splash = MakeSplashWindow(nullptr);
    struct Worst {
        int Pixels = 0;
        double Share = 0;
        std::string Label;
    };
    auto note = [](Worst& worst, int rendered, int design, const std::string& name) {
        const int difference = rendered - design;
        if (std::abs(difference) > std::abs(worst.Pixels)) {
            worst.Pixels = difference;
            worst.Label = name;
        }
        const double share = 100.0 * difference / design;
        if (std::abs(share) > std::abs(worst.Share))
            worst.Share = share;
    };
    const char* others[]
        = { "Liberation Sans", "DejaVu Sans", "DejaVu Sans Condensed", "Tahoma", "MS Sans Serif" };
    std::map<std::pair<int, bool>, std::map<std::string, Worst>> table;
    int designed = 0;
    for (QWidget* window :
        std::initializer_list<QWidget*> { &main, about.get(), info.get(), splash.get() }) {
        for (auto* label : window->findChildren<QLabel*>()) {
            const std::string name
                = window->objectName().toStdString() + "." + label->objectName().toStdString();
            SCOPED_TRACE(name);
            if (label->text().isEmpty())
                continue;
            const QFont font = label->font();
            const QFontMetrics metrics = label->fontMetrics();
            const std::string family = QFontInfo(font).family().toStdString();
            // A letter the face lacks comes from another face, with other widths.
            for (QChar letter : label->text())
                EXPECT_TRUE(letter.isSpace() || metrics.inFontUcs4(letter.unicode()))
                    << "'" << QString(letter).toStdString() << "' is not in " << family;
            const int rendered = metrics.horizontalAdvance(label->text());
            EXPECT_LT(rendered, Room(label))
                << "drawn " << rendered << " pixels wide in " << family;
            const int design = DesignWidth(label);
            if (design == 0)
                continue;
            ++designed;
#ifndef _WIN32
            // The substitutes here are fixed, chosen once for their widths; a PC's faces are
            // what it has, and the program chooses the nearest of them.
            EXPECT_LE(std::abs(rendered - design), std::max(4, design * 6 / 100))
                << "drawn " << rendered << " pixels wide in " << family;
#endif
            auto& row = table[{ font.pixelSize(), font.bold() }];
            note(row["program: " + family], rendered, design, name);
            for (const char* face : others) {
                QFont other = font;
                other.setFamilies({ QString::fromLatin1(face) });
                if (QFontInfo(other).family() != QString::fromLatin1(face))
                    continue; // not installed
                note(row[face], QFontMetrics(other).horizontalAdvance(label->text()), design, name);
            }
        }
    }
    // The About window's "Brzdomat" and the splash's "Tervolan" had places wider than their texts
    // in any face, and take no part.
    EXPECT_EQ(designed, 43);
    std::printf("%-7s %-32s %9s %8s  %s\n", "style", "face", "worst px", "worst %", "label");
    for (const auto& [style, faces] : table)
        for (const auto& [face, worst] : faces)
            std::printf("%2d px %s %-32s %+9d %+7.1f%%  %s\n", style.first,
                style.second ? "b" : "r", face.c_str(), worst.Pixels, worst.Share,
                worst.Label.c_str());
}

// The test clock is a timer of the main window; it must go on ticking while any of these
// windows runs its modal loop.
TEST(SecondaryWindows, LetTimersTickWhileOpenModally)
{
    const struct {
        const char* Name;
        std::unique_ptr<QDialog> (*Make)();
    } windows[] = {
        { "TForm3", [] { return MakeAboutWindow(nullptr, nullptr); } },
        { "TForm5", [] { return MakeProgramInfoWindow(nullptr); } },
        { "TForm2", [] { return MakeSplashWindow(nullptr); } },
    };
    for (const auto& each : windows) {
        auto window = each.Make();
        int ticks = 0;
        QTimer clock;
        clock.setInterval(10);
        QObject::connect(&clock, &QTimer::timeout, [&] {
            if (++ticks == 5)
                window->close();
        });
        clock.start();
        QTimer::singleShot(5'000, window.get(), [&] { window->done(-1); });
        EXPECT_NE(window->exec(), -1) << each.Name << ": the timer did not tick while it was open";
        EXPECT_EQ(ticks, 5) << each.Name;
    }
}

// The artwork is ours and kept to its formats: the splash 152 x 200 pixels, the About icon 32 x
// 32 with at most 16 colours. The program's pictures are exactly what Qt's own PNG reader makes
// of their sources.
TEST(Artwork, IsCompiledInAsItsPngsRead)
{
    const struct {
        const CompiledPicture& Compiled;
        const char* Source;
    } pictures[] = {
        { SplashPicture, ":/ui/qt/artwork/splash.png" },
        { AboutIcon, ":/ui/qt/artwork/about_icon.png" },
        { WindowIcon, ":/packaging/icons/hicolor/64x64/apps/brzdomat.png" },
    };
    for (const auto& [compiled, source] : pictures) {
        SCOPED_TRACE(source);
        QImageReader reader(QString::fromLatin1(source), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage read = reader.read();
        ASSERT_FALSE(read.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(compiled.HasAlpha, read.hasAlphaChannel());
        EXPECT_EQ(ImageOf(compiled).convertToFormat(QImage::Format_ARGB32),
            read.convertToFormat(QImage::Format_ARGB32));
    }
    EXPECT_EQ(QSize(SplashPicture.Width, SplashPicture.Height), QSize(152, 200));

    const QImage icon = ImageOf(AboutIcon);
    EXPECT_EQ(icon.size(), QSize(32, 32));
    std::set<QRgb> colours;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            colours.insert(icon.pixel(x, y));
    EXPECT_LE(colours.size(), 16u);
    EXPECT_GE(colours.size(), 4u) << "a drawing, not a blank";
}

} // namespace
} // namespace brzdomat
