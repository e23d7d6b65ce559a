#include "bank/picture_area.h"
#include "program_facts.h"
#include "tests/ui_test_helpers.h"
#include "ui/qt/deferred_icon_style.h"
#include "ui/qt/layout_fonts.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_view.h"
#include "ui/qt/qt_surface.h"
#include "ui/qt/review_window.h"
#include "ui/run_record.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFontInfo>
#include <QFrame>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace brzdomat {
namespace {

using testing::ChosenTestItem;
using testing::ClientArea;

struct LabelRow {
    const char* Name;
    int Left;
    int Top;
    const char* Text;
    int Pixels;
    bool Bold;
    std::optional<QColor> Ink;
};

const QColor GreenInk(0, 128, 0);
const QColor BlueInk(0, 0, 255);
const QColor RedInk(255, 0, 0);

// The window's labels as the user must see them, with their design texts.
const LabelRow LabelRows[] = {
    { "Label1", 8, 8, "Test č.", 11, false, {} },
    { "Label2", 72, 0, "1", 19, true, GreenInk },
    { "Label3", 8, 40, "Otázka č.", 11, false, {} },
    { "Label4", 72, 32, "1", 19, true, BlueInk },
    { "Label5", 232, 8, "Počet chybných bodů:", 11, false, {} },
    { "Label6", 376, 8, "0", 11, true, BlueInk },
    { "Label7", 232, 40, "Počet dosažených bodů:", 11, false, {} },
    { "Label8", 376, 40, "0", 11, true, BlueInk },
    { "Label16", 552, 8, "Čas:", 11, false, {} },
    { "Label17", 600, 8, "30", 11, true, BlueInk },
    { "Label18", 624, 8, "minut", 11, false, {} },
    { "Label9", 552, 40, "Test:", 11, false, {} },
    { "Label10", 600, 28, "NEZVLÁDÁTE", 23, true, RedInk },
    { "Label31", 86, 80, "váš", 11, false, {} },
    { "Label11", 29, 96, "správně", 11, false, {} },
    { "Label12", 81, 96, "výběr", 11, false, {} },
    { "Label13", 16, 120, "A", 11, false, {} },
    { "Label14", 16, 136, "B", 11, false, {} },
    { "Label15", 16, 152, "C", 11, false, {} },
    { "Label19", 16, 168, "D", 11, false, {} },
    { "Label23", 534, 408, "Přezkušovací testy z předpisů", 16, true, {} },
    { "Label24", 560, 432, "o provozu na pozemních", 16, true, {} },
    { "Label25", 543, 456, "komunikacích a ze zdravotní", 16, true, {} },
    { "Label22", 626, 480, "přípravy", 16, true, {} },
    { "Label26", 602, 504, "Aktuální ke dni: 1.7.2004", 11, false, BlueInk },
    { "Label27", 538, 520, "Vhodné pro procvičování ke zkouškám v autoškole ", 11, false, {} },
};

TEST(MainWindowLayout, EveryLabelHasItsPlaceTextFontAndColourAndFitsWithoutOverlap)
{
    MainWindow window;
    // The texts the program writes are written as it writes them: a status value is measured
    // only then.
    QtSurface surface(&window, {}, {});
    auto windowText = window.palette().color(QPalette::WindowText);
    std::vector<QRect> inked;
    for (const auto& row : LabelRows) {
        SCOPED_TRACE(row.Name);
        auto* label = window.findChild<QLabel*>(row.Name);
        ASSERT_NE(label, nullptr);
        const auto named = std::find(std::begin(LabelNames), std::end(LabelNames), row.Name);
        if (named != std::end(LabelNames))
            surface.SetLabelText(static_cast<Label>(named - std::begin(LabelNames)), row.Text);
        EXPECT_EQ(label->parentWidget(), ClientArea(window));
        EXPECT_EQ(label->pos(), QPoint(row.Left, row.Top));
        EXPECT_EQ(label->text(), QString::fromUtf8(row.Text));
        EXPECT_EQ(label->font().pixelSize(), row.Pixels);
        EXPECT_EQ(label->font().bold(), row.Bold);
        EXPECT_EQ(QFontInfo(label->font()).pixelSize(), row.Pixels);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), row.Ink.value_or(windowText));
        // Sized to its text, inside the client area, so nothing is cut.
        auto advance = label->fontMetrics().horizontalAdvance(label->text());
        EXPECT_GE(label->width(), advance);
        EXPECT_LE(label->geometry().right(), ClientWidth - 1);
        EXPECT_LE(label->geometry().bottom(), ClientHeight - 1);
        // The inked part of the text must not run into another label's.
        auto ink
            = label->fontMetrics()
                  .boundingRect(label->text())
                  .translated(label->pos()
                      + QPoint(0, label->contentsRect().top() + label->fontMetrics().ascent()));
        // The accents of capitals ("Č") stay inside the label, which would cut them.
        EXPECT_GE(ink.top(), label->y());
        for (const auto& other : inked)
            EXPECT_FALSE(ink.intersects(other)) << "overlaps a label placed before";
        inked.push_back(ink);
    }
}

TEST(MainWindowLayout, TheWindowIsFixedWhiteTitledAndCentred)
{
    MainWindow window;
    window.move(0, 0);
    window.CentreOnScreen();
    window.show();
    auto centre = window.screen()->availableGeometry().center();
    EXPECT_LE((window.frameGeometry().center() - centre).manhattanLength(), 2);
    EXPECT_EQ(window.objectName(), "TForm1");
    // The caption names the first two numbers of the build's version.
    EXPECT_EQ(window.windowTitle(),
        "Tervolan - Brzdomat   verze " + QString::number(VersionMajor) + "."
            + QString::number(VersionMinor));
    EXPECT_EQ(ClientArea(window)->size(), QSize(ClientWidth, ClientHeight));
    EXPECT_EQ(ClientArea(window)->mapTo(&window, QPoint(0, 0)).y(), window.menuBar()->height());
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_EQ(window.size(), window.minimumSize());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(ClientArea(window)->font().pixelSize(), WindowFontPixels);
    EXPECT_FALSE(ClientArea(window)->font().bold());
    // The menus, whose metrics the layout leaves open, keep the desktop's font.
    EXPECT_EQ(window.menuBar()->font(), QApplication::font());

    auto shot = ClientArea(window)->grab().toImage();
    for (auto point : { QPoint(0, 0), QPoint(300, 300), QPoint(791, 543), QPoint(500, 30),
             QPoint(60, 400), QPoint(700, 300) })
        EXPECT_EQ(shot.pixelColor(point), QColor(Qt::white)) << point.x() << "," << point.y();
}

TEST(MainWindowLayout, ControlsOtherThanLabelsHaveTheirPlacesAndDesignStates)
{
    MainWindow window;
    struct Row {
        const char* Name;
        QRect Place;
        bool Enabled;
        QString AccessibleName;
    };
    const Row rows[] = {
        { "CheckBox1", { 40, 118, 17, 17 }, false, QString::fromUtf8("správně A") },
        { "CheckBox2", { 40, 134, 17, 17 }, false, QString::fromUtf8("správně B") },
        { "CheckBox3", { 40, 150, 17, 17 }, false, QString::fromUtf8("správně C") },
        { "CheckBox4", { 40, 166, 17, 17 }, false, QString::fromUtf8("správně D") },
        { "CheckBox5", { 88, 118, 17, 17 }, true, QString::fromUtf8("výběr A") },
        { "CheckBox6", { 88, 134, 17, 17 }, true, QString::fromUtf8("výběr B") },
        { "CheckBox7", { 88, 150, 17, 17 }, true, QString::fromUtf8("výběr C") },
        { "CheckBox8", { 88, 166, 17, 17 }, true, QString::fromUtf8("výběr D") },
        { "Button1", { 8, 192, 105, 25 }, false, {} },
        { "Image1", { 128, 80, 401, 457 }, true, QString::fromUtf8("obrázek otázky") },
        { "Panel1", { 8, 56, 769, 9 }, true, {} },
    };
    // As built, and as given back after a phone was held upright and turned again.
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            window.Arrange(Arrangement::Portrait, 390, 844);
            window.Arrange(Arrangement::Designed, 844, 390);
            EXPECT_EQ(ClientArea(window)->size(), QSize(ClientWidth, ClientHeight));
            EXPECT_FALSE(window.menuBar()->isHidden());
            EXPECT_EQ(FindControl<PictureView>(window, Picture::Image1)->Scale(), 1);
        }
        for (const auto& row : rows) {
            SCOPED_TRACE(row.Name);
            SCOPED_TRACE(round);
            auto* widget = window.findChild<QWidget*>(row.Name);
            ASSERT_NE(widget, nullptr);
            EXPECT_EQ(widget->geometry(), row.Place);
            EXPECT_EQ(widget->isEnabled(), row.Enabled);
            EXPECT_FALSE(widget->isHidden());
            if (!row.AccessibleName.isEmpty()) {
                EXPECT_EQ(widget->accessibleName(), row.AccessibleName);
            }
            if (auto* box = qobject_cast<QCheckBox*>(widget)) {
                EXPECT_TRUE(box->text().isEmpty());
                EXPECT_FALSE(box->isChecked());
            }
        }
    }
    EXPECT_EQ(
        FindControl<QPushButton>(window, PushButton::Button1)->text(), QString::fromUtf8("Potvrď"));
    EXPECT_FALSE(FindControl<QPushButton>(window, PushButton::Button1)->isDefault());
    EXPECT_EQ(FindControl<PictureView>(window, Picture::Image1)->Picture(), nullptr);
    auto* panel = window.findChild<QFrame*>("Panel1");
    EXPECT_EQ(panel->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(panel->frameShadow(), QFrame::Raised);
    EXPECT_EQ(panel->lineWidth(), 1);
    auto* timer = window.findChild<QTimer*>("Timer1");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 60000);
    EXPECT_FALSE(timer->isActive());
}

// A phone held upright gets the same controls in a column as wide as its page; a turned phone,
// a tablet and a PC keep the designed window.
TEST(MainWindowLayout, APhoneHeldUprightGetsTheControlsInAColumnOfItsWidth)
{
    EXPECT_EQ(ArrangementFor(390, 844), Arrangement::Portrait);
    EXPECT_EQ(ArrangementFor(480, 854), Arrangement::Portrait);
    EXPECT_EQ(ArrangementFor(768, 1024), Arrangement::Designed);
    EXPECT_EQ(ArrangementFor(844, 390), Arrangement::Designed);
    EXPECT_EQ(ArrangementFor(1024, 768), Arrangement::Designed);
    EXPECT_EQ(ArrangementFor(800, 1280), Arrangement::Designed);

    for (const QSize page : { QSize(390, 844), QSize(320, 568), QSize(480, 854) }) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(page.width()).arg(page.height()).toStdString());
        MainWindow window;
        // The widest values the status lines make room for.
        window.findChild<QLabel*>("Label10")->setText(QString::fromUtf8("NEZVLÁDÁTE"));
        window.findChild<QLabel*>("Label17")->setText(QStringLiteral("60"));
        window.Arrange(Arrangement::Portrait, page.width(), page.height());
        window.show();
        QWidget* client = ClientArea(window);
        EXPECT_EQ(client->width(), page.width());
        EXPECT_GE(client->height(), page.height());
        EXPECT_TRUE(window.menuBar()->isHidden());

        // Everything shown lies inside the page and apart from everything else.
        std::vector<std::pair<QString, QRect>> shown;
        for (auto* control : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->isHidden())
                continue;
            QRect place = control->geometry();
            // A label by its text, which is all it inks.
            if (auto* label = qobject_cast<QLabel*>(control))
                place.setWidth(label->fontMetrics().horizontalAdvance(label->text()));
            EXPECT_TRUE(client->rect().contains(place)) << control->objectName().toStdString();
            for (const auto& [name, other] : shown)
                EXPECT_FALSE(place.intersects(other))
                    << control->objectName().toStdString() << " and " << name.toStdString();
            shown.emplace_back(control->objectName(), place);
        }

        // The picture across the page: a card's 13-pixel text stays at 12 on a 390-pixel phone.
        auto* picture = FindControl<PictureView>(window, Picture::Image1);
        EXPECT_NEAR(picture->Scale() * VisibleWidth, picture->width(), 1);
        if (page.width() >= 390) {
            EXPECT_GE(13 * picture->Scale(), 12);
        }

        // Answers a finger hits anywhere, a full-width "Potvrď" and the menus behind one button.
        for (int row = 0; row < 4; ++row) {
            auto* box = FindControl<QCheckBox>(
                window, static_cast<CheckBox>(static_cast<int>(CheckBox::CheckBox5) + row));
            EXPECT_GE(box->width(), 44);
            EXPECT_GE(box->height(), 44);
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(3, 3));
            EXPECT_TRUE(box->isChecked()) << row;
        }
        auto* confirm = FindControl<QPushButton>(window, PushButton::Button1);
        EXPECT_GE(confirm->height(), 44);
        EXPECT_GE(confirm->width(), client->width() * 3 / 5);
        auto* menus = window.findChild<QPushButton*>("PortraitMenu");
        ASSERT_NE(menus, nullptr);
        EXPECT_GE(menus->height(), 44);
        auto* popup = window.findChild<QMenu*>("PortraitMenus");
        ASSERT_NE(popup, nullptr);
        EXPECT_EQ(popup->actions(), window.menuBar()->actions());
        // A popup, as the menu bar's menus are, never a loop of its own.
        EXPECT_EQ(menus->menu(), nullptr);
        QTest::mouseClick(menus, Qt::LeftButton);
        EXPECT_TRUE(popup->isVisible());
        popup->hide();
    }
}

// The review over an upright phone's column fills the page as the column does, its controls apart
// and inside it, its text readable and its buttons finger-high.
TEST(MainWindowLayout, TheReviewOnAnUprightPhoneFillsThePageWithItsControlsApart)
{
    for (const QSize page : { QSize(390, 844), QSize(320, 568) }) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(page.width()).arg(page.height()).toStdString());
        MainWindow main;
        main.Arrange(Arrangement::Portrait, page.width(), page.height());
        main.show();
        RunRecord record;
        record.Test = 7;
        for (int question = 1; question <= 25; ++question)
            record.Questions.push_back({ { 7, question }, 2, {}, {}, AnswerResult::Unanswered });
        auto review = MakeReviewWindow(&main, record, 24);
        review->show();
        EXPECT_EQ(review->size(), main.size());
        std::vector<QRect> places;
        for (auto* control : review->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (control->isHidden())
                continue;
            QRect place = control->geometry();
            if (auto* label = qobject_cast<QLabel*>(control)) {
                EXPECT_GE(QFontInfo(label->font()).pixelSize(), 12) << label->text().toStdString();
                if (!label->wordWrap())
                    place.setWidth(label->fontMetrics().horizontalAdvance(label->text()));
            }
            if (qobject_cast<QPushButton*>(control)) {
                EXPECT_GE(place.height(), 44);
            }
            EXPECT_TRUE(QRect(QPoint(), review->size()).contains(place))
                << control->objectName().toStdString();
            for (const QRect& other : places)
                EXPECT_FALSE(place.intersects(other)) << control->objectName().toStdString();
            places.push_back(place);
        }
    }
}

TEST(MainWindowLayout, ClickingACorrectAnswerBoxNeverChangesIt)
{
    MainWindow window;
    window.show();
    for (int index = 0; index < 4; ++index) {
        auto* box = FindControl<QCheckBox>(window, static_cast<CheckBox>(index));
        for (bool ticked : { false, true }) {
            box->setChecked(ticked);
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 8));
            EXPECT_EQ(box->isChecked(), ticked);
        }
    }
    auto* choice = FindControl<QCheckBox>(window, CheckBox::CheckBox5);
    QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(8, 8));
    EXPECT_TRUE(choice->isChecked());
}

// Relative luminance and contrast ratio as accessibility guidelines define them.
double Luminance(QColor colour)
{
    auto channel = [](int value) {
        double linear = value / 255.0;
        return linear <= 0.03928 ? linear / 12.92 : std::pow((linear + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green())
        + 0.0722 * channel(colour.blue());
}

double Contrast(QColor first, QColor second)
{
    const double one = Luminance(first);
    const double other = Luminance(second);
    return (std::max(one, other) + 0.05) / (std::min(one, other) + 0.05);
}

// The darkest or the lightest pixel of a rectangle of a picture, or of its one-pixel outline.
enum class Area { Whole, Outline };

QColor Extreme(const QImage& image, QRect rectangle, Area area, bool darkest)
{
    std::optional<QColor> found;
    for (int y = rectangle.top(); y <= rectangle.bottom(); ++y)
        for (int x = rectangle.left(); x <= rectangle.right(); ++x) {
            if (area == Area::Outline && rectangle.adjusted(1, 1, -1, -1).contains(x, y))
                continue;
            auto colour = image.pixelColor(x, y);
            if (!found || (Luminance(colour) < Luminance(*found)) == darkest)
                found = colour;
        }
    return found.value_or(Qt::transparent);
}

QColor Darkest(const QImage& image, QRect rectangle, Area area)
{
    return Extreme(image, rectangle, area, true);
}

QColor Lightest(const QImage& image, QRect rectangle, Area area)
{
    return Extreme(image, rectangle, area, false);
}

// The state a style is asked to draw a box's indicator in. Windows' theme draws the tick of a
// disabled box grey whatever the palette says, so a box drawn in full contrast must be drawn as
// enabled.
class IndicatorState : public QProxyStyle {
public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget) const override
    {
        if (element == PE_IndicatorCheckBox)
            Enabled = option->state.testFlag(State_Enabled);
        QProxyStyle::drawPrimitive(element, option, painter, widget);
    }

    mutable std::optional<bool> Enabled;
};

// The boxes a student ticks look tickable, framed in at least 3:1 against the white window and
// darker than the "správně" boxes, which are drawn as enabled for their ticks' sake but on a grey
// face; a disabled box keeps the style's faint look.
TEST(MainWindowLayout, AnswerBoxesShowWhoTicksThemAndTheirTicksInContrast)
{
    IndicatorState drawn;
    MainWindow window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    struct Case {
        CheckBox Box;
        bool Enabled;
        // The frame's contrast against the window: at least, and below.
        double FrameFrom;
        double FrameBelow;
        bool GreyFace;
        bool Focused = false;
    };
    const Case cases[] = {
        { CheckBox::CheckBox1, false, 3.0, 4.5, true },
        { CheckBox::CheckBox2, false, 3.0, 4.5, true },
        { CheckBox::CheckBox3, false, 3.0, 4.5, true },
        { CheckBox::CheckBox4, false, 3.0, 4.5, true },
        { CheckBox::CheckBox5, true, 4.5, 22.0, false },
        { CheckBox::CheckBox8, true, 4.5, 22.0, false },
        { CheckBox::CheckBox6, false, 1.0, 3.0, false },
        // The keyboard focus shows on the frame, which no longer has the student's dark grey.
        { CheckBox::CheckBox7, true, 3.0, 4.5, false, true },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(ControlName(test.Box));
        auto* box = FindControl<QCheckBox>(window, test.Box);
        box->setEnabled(test.Enabled);
        if (test.Focused) {
            auto* before = box->previousInFocusChain();
            before->setFocus();
            QTest::keyClick(before, Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), box);
        }
        QStyleOptionButton option;
        option.initFrom(box);
        auto indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, box);
        // The "správně" boxes are drawn as enabled, for their ticks.
        const bool drawnEnabled = test.Enabled || test.GreyFace;
        for (bool ticked : { false, true }) {
            box->setChecked(ticked);
            // The state asked for, through a style that records it; the pixels, in the style the
            // program runs with (Windows' style draws no tick at all under a proxy).
            box->setStyle(&drawn);
            drawn.Enabled.reset();
            box->grab();
            EXPECT_EQ(drawn.Enabled, drawnEnabled);
            box->setStyle(nullptr);
            auto shot = box->grab().toImage();
            auto frame = Darkest(shot, indicator, Area::Outline);
            EXPECT_GE(Contrast(frame, Qt::white), test.FrameFrom);
            EXPECT_LT(Contrast(frame, Qt::white), test.FrameBelow);
            if (!drawnEnabled)
                continue;
            auto face = Lightest(shot, indicator.adjusted(1, 1, -1, -1), Area::Whole);
            // Some styles tint a focused box's face. Windows' themes draw the box as a picture
            // of their own, white whatever the palette says: there the program's boxes are told
            // apart by their frame alone.
#ifndef _WIN32
            if (!test.Focused) {
                EXPECT_EQ(Contrast(face, Qt::white) > 1.1, test.GreyFace);
            }
#endif
            // The tick against the box's own face; nothing dark when unticked.
            auto tick = Darkest(shot, indicator.adjusted(3, 3, -3, -3), Area::Whole);
            if (ticked)
                EXPECT_GE(Contrast(tick, face), 4.5);
            else
                EXPECT_LT(Contrast(tick, face), 1.5);
        }
    }
}

TEST(MainWindowAccessibility, TheWindowAndTheStatusValuesAreReadWithTheirCaptions)
{
    MainWindow window;
    // The window itself is announced as a window, named by its caption.
    auto* whole = QAccessible::queryAccessibleInterface(&window);
    ASSERT_NE(whole, nullptr);
    EXPECT_EQ(whole->role(), QAccessible::Window);
    EXPECT_EQ(whole->text(QAccessible::Name), window.windowTitle());
    struct Case {
        const char* Value;
        const char* Text;
        const char* Caption;
        const char* Spoken;
    };
    const Case cases[] = {
        { "Label2", "7", "Label1", "Test č. 7" },
        { "Label4", "25", "Label3", "Otázka č. 25" },
        { "Label6", "4", "Label5", "Počet chybných bodů: 4" },
        { "Label8", "12", "Label7", "Počet dosažených bodů: 12" },
        { "Label17", "12", "Label16", "Čas: 12 minut" },
        { "Label10", "ZVLÁDÁTE", "Label9", "Test: ZVLÁDÁTE" },
        { "Label2", "", "Label1", "Test č." },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Value);
        auto* label = window.findChild<QLabel*>(test.Value);
        auto* caption = window.findChild<QLabel*>(test.Caption);
        label->setText(QString::fromUtf8(test.Text));
        auto* value = QAccessible::queryAccessibleInterface(label);
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->role(), QAccessible::StaticText);
        EXPECT_EQ(value->text(QAccessible::Name), QString::fromUtf8(test.Spoken));
        auto labels = value->relations(QAccessible::Label);
        ASSERT_EQ(labels.size(), 1);
        EXPECT_EQ(labels.front().first->object(), caption);
        // Nothing changes on screen.
        EXPECT_EQ(label->text(), QString::fromUtf8(test.Text));
        EXPECT_TRUE(label->accessibleName().isEmpty());
    }
}

struct MenuRow {
    const char* Name;
    const char* Caption;
    std::vector<MenuRow> Items;
};

void ExpectMenu(const QList<QAction*>& actions, const std::vector<MenuRow>& rows)
{
    ASSERT_EQ(actions.size(), static_cast<qsizetype>(rows.size()));
    for (std::size_t index = 0; index < rows.size(); ++index) {
        auto* action = actions[static_cast<qsizetype>(index)];
        const auto& row = rows[index];
        SCOPED_TRACE(row.Name);
        EXPECT_EQ(action->objectName(), row.Name);
        EXPECT_EQ(action->text(), QString::fromUtf8(row.Caption));
        EXPECT_TRUE(action->shortcut().isEmpty());
        if (!row.Items.empty()) {
            ASSERT_NE(action->menu(), nullptr);
            EXPECT_EQ(action->menu()->objectName(), row.Name);
            ExpectMenu(action->menu()->actions(), row.Items);
        } else {
            EXPECT_EQ(action->menu(), nullptr);
        }
    }
}

TEST(MainWindowMenu, HasTheTreeWithCaptionsNamesAndAcceleratorsInOrder)
{
    MainWindow window;
    std::vector<MenuRow> tests;
    std::vector<std::string> names, captions;
    for (int test = 1; test <= 32; ++test) {
        names.push_back("N" + std::to_string(test) + "1");
        captions.push_back(std::to_string(test));
    }
    for (int test = 0; test < 32; ++test)
        tests.push_back({ names[static_cast<std::size_t>(test)].c_str(),
            captions[static_cast<std::size_t>(test)].c_str(), {} });
    const std::vector<MenuRow> bar = {
        { "Soubor1", "&Program", { { "Zavt1", "&Zavřít", {} } } },
        { "esty1", "&Testy",
            {
                { "Vybratsitest1", "&Vybrat si test", tests },
                { "Nhodnceltest1", "Náhodný &celý test", {} },
                { "Nhodnvbrotzek251", "Náhodný výběr &otázek (25)", {} },
                { "plnnhodnvbrotzek1", "Úp&lně náhodný výběr otázek", {} },
                { "Ukonittest1", "&Ukončit testování", {} },
                { "N1", "", {} },
                { "Pehledposlednhotestu1", "&Přehled posledního testu", {} },
                { "Procviitchybnotzky1", "P&rocvičit chybné otázky", {} },
                { "Prodlouenas60minut1", "Prodloužený čas (60 &minut)", {} },
            } },
        { "Npovda1", "&Nápověda", { { "Oprogramu1", "&O programu", {} } } },
        { "About1", "&About ..", {} },
    };
    ExpectMenu(window.menuBar()->actions(), bar);
    EXPECT_EQ(window.menuBar()->objectName(), "MainMenu1");

    // Design states: "&Ukončit testování" and the items about the last run are disabled, the
    // longer limit unticked.
    const QStringList disabled { "Ukonittest1", "Pehledposlednhotestu1", "Procviitchybnotzky1" };
    for (auto* action : window.findChildren<QAction*>())
        EXPECT_EQ(action->isEnabled(), !disabled.contains(action->objectName()))
            << action->objectName().toStdString();
    EXPECT_TRUE(window.findChild<QAction*>("N1")->isSeparator());
    auto* extended = window.findChild<QAction*>("Prodlouenas60minut1");
    EXPECT_TRUE(extended->isCheckable());
    EXPECT_FALSE(extended->isChecked());
    EXPECT_EQ(ChosenTestItem(window, 7)->objectName(), "N71");
    EXPECT_EQ(ChosenTestItem(window, 0), nullptr);
    EXPECT_EQ(ChosenTestItem(window, 33), nullptr);
}

// The overflow arrows of the menu and tool bars, read when drawn, look as the base style's in
// either direction, at the screen's scale and at twice it.
TEST(MainWindowMenu, TheDeferredOverflowArrowsLookAsTheBaseStylesArrows)
{
    DeferredIconStyle deferred;
    QProxyStyle base;
    for (auto arrow : { QStyle::SP_ToolBarHorizontalExtensionButton,
             QStyle::SP_ToolBarVerticalExtensionButton }) {
        for (auto direction : { Qt::LeftToRight, Qt::RightToLeft }) {
            QStyleOption option;
            option.direction = direction;
            const QIcon drawn = deferred.standardIcon(arrow, &option);
            const QIcon expected = base.standardIcon(arrow, &option);
            SCOPED_TRACE(::testing::Message() << arrow << " direction " << direction);
            ASSERT_FALSE(drawn.isNull());
            EXPECT_EQ(drawn.availableSizes(), expected.availableSizes());
            for (qreal scale : { 1.0, 2.0 }) {
                const QImage image = drawn.pixmap(QSize(16, 16), scale).toImage();
                EXPECT_FALSE(image.isNull());
                EXPECT_EQ(image, expected.pixmap(QSize(16, 16), scale).toImage()) << scale;
            }
            // A copy made before the first drawing draws the same.
            const QIcon copy = deferred.standardIcon(arrow, &option);
            QIcon copied = copy;
            copied.detach();
            EXPECT_EQ(
                copied.pixmap(QSize(16, 16)).toImage(), expected.pixmap(QSize(16, 16)).toImage());
        }
    }
}

TEST(MainWindowMenu, EveryItemRunsItsOwnCommand)
{
    MainWindow window;
    std::vector<std::string> ran;
    MainWindow::Commands commands;
    commands.ChosenTest = [&](int test) { ran.push_back("test " + std::to_string(test)); };
    commands.MenuCommand
        = [&](MenuItem item) { ran.push_back("menu " + std::string { ControlName(item) }); };
    commands.Confirm = [&] { ran.push_back("confirm"); };
    commands.ClockTick = [&] { ran.push_back("tick"); };
    window.SetCommands(commands);
    FindControl<QAction>(window, MenuItem::Ukonittest1)->setEnabled(true);
    FindControl<QPushButton>(window, PushButton::Button1)->setEnabled(true);

    struct Case {
        const char* Action;
        std::string Command;
    };
    const Case cases[] = { { "N11", "test 1" }, { "N91", "test 9" }, { "N101", "test 10" },
        { "N321", "test 32" }, { "Nhodnceltest1", "menu Nhodnceltest1" },
        { "Nhodnvbrotzek251", "menu Nhodnvbrotzek251" },
        { "plnnhodnvbrotzek1", "menu plnnhodnvbrotzek1" }, { "Ukonittest1", "menu Ukonittest1" },
        { "Zavt1", "menu Zavt1" }, { "Oprogramu1", "menu Oprogramu1" },
        { "About1", "menu About1" } };
    for (const auto& test : cases) {
        ran.clear();
        auto* action = window.findChild<QAction*>(test.Action);
        ASSERT_NE(action, nullptr) << test.Action;
        action->trigger();
        EXPECT_EQ(ran, std::vector<std::string> { test.Command }) << test.Action;
    }
    ran.clear();
    QTest::mouseClick(FindControl<QPushButton>(window, PushButton::Button1), Qt::LeftButton);
    EXPECT_EQ(ran, std::vector<std::string> { "confirm" });
}

TEST(MainWindowKeyboard, TabCyclesThroughTheEnabledAnswerBoxesAndTheButton)
{
    MainWindow window;
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto focusName = [] {
        auto* focused = QApplication::focusWidget();
        return focused ? focused->objectName() : QString("(none)");
    };
    struct Case {
        bool ButtonEnabled;
        std::vector<QString> Cycle;
    };
    const Case cases[] = {
        { false, { "CheckBox5", "CheckBox6", "CheckBox7", "CheckBox8", "CheckBox5" } },
        { true, { "CheckBox5", "CheckBox6", "CheckBox7", "CheckBox8", "Button1", "CheckBox5" } },
    };
    for (const auto& test : cases) {
        FindControl<QPushButton>(window, PushButton::Button1)->setEnabled(test.ButtonEnabled);
        FindControl<QCheckBox>(window, CheckBox::CheckBox5)->setFocus();
        std::vector<QString> cycle { focusName() };
        for (std::size_t step = 1; step < test.Cycle.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            cycle.push_back(focusName());
        }
        EXPECT_EQ(cycle, test.Cycle);
    }
    // Enter, the keypad's too, presses the focused "Potvrď" as the space bar does; the window has
    // no default button, so Enter elsewhere presses nothing. A held Enter presses it once: the
    // key's repeats do not confirm question after question.
    int confirmed = 0;
    MainWindow::Commands commands;
    commands.Confirm = [&] { ++confirmed; };
    window.SetCommands(commands);
    auto* button1 = FindControl<QPushButton>(window, PushButton::Button1);
    button1->setEnabled(true);
    struct KeyCase {
        QWidget* Focus;
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers;
        int Confirmations;
        int Repeats = 0;
    };
    const KeyCase keys[] = {
        { button1, Qt::Key_Return, Qt::NoModifier, 1 },
        { button1, Qt::Key_Return, Qt::NoModifier, 1, 3 },
        { button1, Qt::Key_Enter, Qt::KeypadModifier, 1 },
        { button1, Qt::Key_Space, Qt::NoModifier, 1 },
        { FindControl<QCheckBox>(window, CheckBox::CheckBox7), Qt::Key_Return, Qt::NoModifier, 0 },
    };
    for (const auto& key : keys) {
        SCOPED_TRACE(key.Key);
        confirmed = 0;
        key.Focus->setFocus();
        QTest::keyPress(key.Focus, key.Key, key.Modifiers);
        for (int repeat = 0; repeat < key.Repeats; ++repeat) {
            QKeyEvent held(QEvent::KeyPress, key.Key, key.Modifiers, QString(), true);
            QApplication::sendEvent(key.Focus, &held);
        }
        QTest::keyRelease(key.Focus, key.Key, key.Modifiers);
        EXPECT_EQ(confirmed, key.Confirmations);
    }
    // F10 opens the menu bar at its first menu.
    auto* program = window.findChild<QMenu*>("Soubor1");
    QTest::keyClick(button1, Qt::Key_F10);
    EXPECT_EQ(window.menuBar()->activeAction(), program->menuAction());
    EXPECT_TRUE(QTest::qWaitFor([&] { return program->isVisible(); }, 2000));
    program->close();

    // The space bar toggles the focused box.
    FindControl<QCheckBox>(window, CheckBox::CheckBox6)->setFocus();
    QTest::keyClick(FindControl<QCheckBox>(window, CheckBox::CheckBox6), Qt::Key_Space);
    EXPECT_TRUE(FindControl<QCheckBox>(window, CheckBox::CheckBox6)->isChecked());
}

TEST(MainWindowKeyboard, LettersTickTheStudentsBoxesWhileAQuestionWaits)
{
    MainWindow window;
    int confirmed = 0;
    int about = 0;
    MainWindow::Commands commands;
    commands.Confirm = [&] { ++confirmed; };
    commands.MenuCommand = [&](MenuItem item) { about += item == MenuItem::About1; };
    window.SetCommands(commands);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto* button1 = FindControl<QPushButton>(window, PushButton::Button1);
    auto ticked = [&] {
        QString rows;
        for (int row = 0; row < 4; ++row)
            if (FindControl<QCheckBox>(window, static_cast<CheckBox>(4 + row))->isChecked())
                rows += QChar(u'A' + row);
        return rows;
    };
    auto reset = [&](const char* disabledBox) {
        for (int row = 0; row < 4; ++row) {
            auto* box = FindControl<QCheckBox>(window, static_cast<CheckBox>(4 + row));
            box->setChecked(false);
            box->setEnabled(box->objectName() != disabledBox);
        }
    };
    struct Press {
        Qt::Key Key;
        Qt::KeyboardModifiers Modifiers = Qt::NoModifier;
        int Repeats = 0;
    };
    struct Case {
        const char* What;
        bool Running;
        const char* Focus;
        std::vector<Press> Presses;
        const char* Ticked;
        const char* DisabledBox = nullptr;
    };
    const Case cases[] = {
        { "a letter", true, "Button1", { { Qt::Key_B } }, "B" },
        { "the same letter again", true, "Button1", { { Qt::Key_B }, { Qt::Key_B } }, "" },
        { "capitals", true, "Button1", { { Qt::Key_C, Qt::ShiftModifier }, { Qt::Key_A } }, "AC" },
        { "digits, the keypad's too", true, "Button1",
            { { Qt::Key_4 }, { Qt::Key_1, Qt::KeypadModifier } }, "AD" },
        { "digits typed with Shift", true, "Button1", { { Qt::Key_2, Qt::ShiftModifier } }, "B" },
        { "focus on another box", true, "CheckBox7", { { Qt::Key_D } }, "D" },
        { "a held key", true, "Button1", { { Qt::Key_A, Qt::NoModifier, 3 } }, "A" },
        { "other keys", true, "Button1",
            { { Qt::Key_E }, { Qt::Key_5 }, { Qt::Key_0 }, { Qt::Key_B, Qt::ControlModifier } },
            "" },
        { "idle", false, "CheckBox5", { { Qt::Key_A }, { Qt::Key_3 } }, "" },
        { "a disabled box", true, "Button1", { { Qt::Key_A }, { Qt::Key_B } }, "B", "CheckBox5" },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.What);
        reset(test.DisabledBox);
        button1->setEnabled(test.Running);
        auto* focus = window.findChild<QWidget*>(test.Focus);
        focus->setFocus();
        confirmed = 0;
        for (const auto& press : test.Presses) {
            QTest::keyPress(focus, press.Key, press.Modifiers);
            for (int repeat = 0; repeat < press.Repeats; ++repeat) {
                QKeyEvent held(QEvent::KeyPress, press.Key, press.Modifiers, QString(), true);
                QApplication::sendEvent(focus, &held);
            }
            QTest::keyRelease(focus, press.Key, press.Modifiers);
        }
        EXPECT_EQ(ticked(), test.Ticked);
        // The focus stays where it was, so that Enter on "Potvrď" confirms the ticks.
        EXPECT_EQ(QApplication::focusWidget(), focus);
        EXPECT_EQ(confirmed, 0);
    }
    // Alt with a letter still opens the menus: Alt+A is "&About ..", not box A.
    reset(nullptr);
    button1->setEnabled(true);
    button1->setFocus();
    QTest::keyClick(button1, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(about, 1);
    EXPECT_EQ(ticked(), "");
}

} // namespace
} // namespace brzdomat
