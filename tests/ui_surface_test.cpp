#include "tests/ui_test_helpers.h"
#include "ui/qt/application_title.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_view.h"
#include "ui/qt/qt_surface.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace brzdomat {
namespace {

using testing::AsInputBox;
using testing::AsMessageBox;
using testing::BoxWatcher;

// A main window with a surface on it, and a record of the secondary windows asked for.
struct Screen {
    MainWindow Window;
    std::vector<brzdomat::Window> WindowsMade;
    std::function<void(QDialog*)> WhileWindowOpen;
    QtSurface Surface { &Window, "Brzdomattest", [this](brzdomat::Window window, QWidget* parent) {
                           WindowsMade.push_back(window);
                           auto dialog = std::make_unique<QDialog>(parent);
                           auto* raw = dialog.get();
                           QTimer::singleShot(0, raw, [this, raw] {
                               if (WhileWindowOpen)
                                   WhileWindowOpen(raw);
                           });
                           return dialog;
                       } };
};

TEST(ApplicationTitle, KeepsTheFirstCharacterAndLowersTheRestOfTheNameBeforeTheFirstStop)
{
    struct Case {
        const char* Path;
        const char* Title;
    };
    const Case cases[] = {
        { "/usr/bin/brzdomat", "brzdomat" },
        { "/opt/x/Brzdomat", "Brzdomat" },
        { "C:/Program Files/PROGRAM.EXE", "Program" },
        { "BRZDOMAT.tar.gz", "Brzdomat" },
        { "/a.b/ŽLUŤOUČKÝ", "Žluťoučký" },
        { "/home/u/.hidden", "" },
        { "", "" },
        { "/usr/bin/", "" },
        { "relative/ČERT", "Čert" },
    };
    for (const auto& test : cases)
        EXPECT_EQ(ApplicationTitle(test.Path), test.Title) << test.Path;
}

struct BoxCase {
    const char* Name;
    MessageKind Kind;
    ButtonSet Buttons;
    QString Caption;
    MessageIcon Icon;
    QString IconName; // for screen readers
    std::vector<QString> Captions; // left to right
    PressedButton Default;
    PressedButton Escape;
};

const BoxCase BoxCases[] = {
    { "error", MessageKind::Error, ButtonSet::Ok, "Error", MessageIcon::Stop, "Chyba", { "OK" },
        PressedButton::Ok, PressedButton::Ok },
    { "information", MessageKind::Information, ButtonSet::Ok, "Information",
        MessageIcon::Information, "Informace", { "OK" }, PressedButton::Ok, PressedButton::Ok },
    { "confirmation", MessageKind::Confirmation, ButtonSet::YesNo, "Confirm", MessageIcon::Question,
        QString::fromUtf8("Otázka"), { "&Yes", "&No" }, PressedButton::Yes, PressedButton::No },
    { "error with Yes and No", MessageKind::Error, ButtonSet::YesNo, "Error", MessageIcon::Stop,
        "Chyba", { "&Yes", "&No" }, PressedButton::Yes, PressedButton::No },
};

TEST(MessageBox, HasTheCaptionButtonsInFixedOrderAndTheDefaultAndEscapeButtonsOfItsSet)
{
    Screen screen;
    // Shown away from the middle, so a box placed over it would not be centred on the screen.
    screen.Window.move(0, 0);
    screen.Window.show();
    for (const auto& test : BoxCases) {
        SCOPED_TRACE(test.Name);
        MessageDialog box(
            &screen.Window, KindCaption(test.Kind), KindIcon(test.Kind), "Text", test.Buttons);
        EXPECT_EQ(box.windowTitle(), test.Caption);
        EXPECT_EQ(box.Icon(), test.Icon);
        // A screen reader announces the box as an alert and reads its text at once.
        auto* alert = QAccessible::queryAccessibleInterface(&box);
        ASSERT_NE(alert, nullptr);
        EXPECT_EQ(alert->role(), QAccessible::AlertMessage);
        EXPECT_EQ(alert->text(QAccessible::Name), test.Caption);
        EXPECT_EQ(alert->text(QAccessible::Description), "Text");
        auto* icon = QAccessible::queryAccessibleInterface(box.findChild<QLabel*>("Icon"));
        ASSERT_NE(icon, nullptr);
        EXPECT_EQ(icon->role(), QAccessible::Graphic);
        EXPECT_EQ(icon->text(QAccessible::Name), test.IconName);
        // Boxes have the desktop's font, not the layout's.
        EXPECT_EQ(box.font(), QApplication::font());
        auto buttons = box.findChildren<QPushButton*>();
        std::sort(buttons.begin(), buttons.end(),
            [](auto* left, auto* right) { return left->x() < right->x(); });
        box.show();
        std::sort(buttons.begin(), buttons.end(),
            [](auto* left, auto* right) { return left->x() < right->x(); });
        std::vector<QString> captions;
        for (auto* button : buttons)
            captions.push_back(button->text());
        EXPECT_EQ(captions, test.Captions);
        EXPECT_EQ(box.DefaultButton(), test.Default);
        EXPECT_EQ(box.EscapeButton(), test.Escape);
        EXPECT_TRUE(box.Button(test.Default)->isDefault());
        // One row, centred under the text.
        auto left = buttons.front()->geometry().left();
        auto right = box.width() - buttons.back()->geometry().right() - 1;
        EXPECT_LE(std::abs(left - right), 1);
        for (auto* button : buttons)
            EXPECT_EQ(button->y(), buttons.front()->y());
        EXPECT_FALSE(box.windowFlags() & Qt::WindowMaximizeButtonHint);
        // Centred on the screen, not over the main window.
        auto centre = box.screen()->availableGeometry().center();
        EXPECT_LE((box.frameGeometry().center() - centre).manhattanLength(), 2);
        box.close();
    }
}

TEST(MessageBox, GivesThePressedButtonAndCancelWhenClosedByItsTitleBar)
{
    enum class Act { Click, Enter, Escape, TitleBar, Key };
    struct Case {
        ButtonSet Buttons;
        Act Action;
        PressedButton Clicked; // for Act::Click
        PressedButton Expected;
        Qt::Key Key = Qt::Key_unknown; // for Act::Key
        Qt::KeyboardModifiers Modifiers = Qt::NoModifier;
    };
    const Case cases[] = {
        // An accelerator letter presses its button with or without Alt.
        { ButtonSet::YesNo, Act::Key, {}, PressedButton::Yes, Qt::Key_Y },
        { ButtonSet::YesNo, Act::Key, {}, PressedButton::No, Qt::Key_N },
        { ButtonSet::YesNo, Act::Key, {}, PressedButton::No, Qt::Key_N, Qt::ShiftModifier },
        { ButtonSet::YesNo, Act::Key, {}, PressedButton::No, Qt::Key_N, Qt::AltModifier },
        { ButtonSet::YesNo, Act::Key, {}, PressedButton::Yes, Qt::Key_Y, Qt::AltModifier },
        { ButtonSet::YesNo, Act::Click, PressedButton::Yes, PressedButton::Yes },
        { ButtonSet::YesNo, Act::Click, PressedButton::No, PressedButton::No },
        { ButtonSet::YesNo, Act::Enter, {}, PressedButton::Yes },
        { ButtonSet::YesNo, Act::Escape, {}, PressedButton::No },
        { ButtonSet::YesNo, Act::TitleBar, {}, PressedButton::Cancel },
        { ButtonSet::Ok, Act::Click, PressedButton::Ok, PressedButton::Ok },
        { ButtonSet::Ok, Act::Enter, {}, PressedButton::Ok },
        { ButtonSet::Ok, Act::Escape, {}, PressedButton::Ok },
        { ButtonSet::Ok, Act::TitleBar, {}, PressedButton::Cancel },
    };
    Screen screen;
    for (const auto& test : cases) {
        SCOPED_TRACE(::testing::Message() << "action " << static_cast<int>(test.Action) << " on "
                                          << static_cast<int>(test.Buttons));
        BoxWatcher watcher([&](QWidget* widget) {
            auto* box = AsMessageBox(widget);
            ASSERT_NE(box, nullptr);
            switch (test.Action) {
            case Act::Click:
                QTest::mouseClick(box->Button(test.Clicked), Qt::LeftButton);
                break;
            case Act::Enter:
                QTest::keyClick(box, Qt::Key_Return);
                break;
            case Act::Escape:
                QTest::keyClick(box, Qt::Key_Escape);
                break;
            case Act::TitleBar:
                box->close();
                break;
            case Act::Key:
                // Alt and a letter is a shortcut, which only an active window takes.
                box->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(box));
                QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box,
                    test.Key, test.Modifiers);
                break;
            }
        });
        EXPECT_EQ(
            screen.Surface
                .MessageBox("Opravdu ukončit testování?", MessageKind::Confirmation, test.Buttons)
                .Get(),
            test.Expected);
        EXPECT_EQ(watcher.ForcedClosed, 0);
    }
}

TEST(MessageBox, WrapsItsTextAtHalfTheScreenWidthAndKeepsItExactly)
{
    Screen screen;
    int half = QGuiApplication::primaryScreen()->geometry().width() / 2;
    const QString texts[] = {
        "spatně",
        QString("Jednotlivé otázky s obrázky jsou uloženy ve složce img. ").repeated(12),
        "'" + QString("x").repeated(400) + "' is not a valid integer value.",
    };
    // Dark pixels of text drawn on white: a cut text has fewer than the whole one in one line.
    auto ink = [](const QImage& image) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    for (const auto& text : texts) {
        MessageDialog box(&screen.Window, "Error", MessageIcon::Stop, text, ButtonSet::Ok);
        box.show();
        EXPECT_EQ(box.TextLabel()->text(), text);
        auto label = box.TextLabel();
        auto palette = label->palette();
        palette.setColor(QPalette::Window, Qt::white);
        palette.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(palette);
        label->setAutoFillBackground(true);
        QImage oneLine(label->fontMetrics().horizontalAdvance(text) + 4,
            label->fontMetrics().height(), QImage::Format_RGB32);
        oneLine.fill(Qt::white);
        {
            QPainter painter(&oneLine);
            painter.setFont(label->font());
            painter.setPen(Qt::black);
            painter.drawText(QPoint(0, label->fontMetrics().ascent()), text);
        }
        auto whole = ink(oneLine);
        EXPECT_GE(ink(label->grab().toImage()), whole * 9 / 10) << "not every character is shown";
        EXPECT_LE(box.TextLabel()->width(), half);
        auto needed = box.TextLabel()->fontMetrics().horizontalAdvance(text);
        if (needed <= half) {
            EXPECT_GE(box.TextLabel()->width(), needed);
            EXPECT_LT(box.TextLabel()->height(), 2 * box.TextLabel()->fontMetrics().height());
        } else {
            EXPECT_GE(box.TextLabel()->height(), 2 * box.TextLabel()->fontMetrics().height());
        }
        EXPECT_LE(box.width(), QGuiApplication::primaryScreen()->geometry().width());
        box.close();
    }
}

TEST(InputBox, GivesTheTypedTextOnOkAndTheDefaultOnCancelEscapeAndClose)
{
    enum class Act {
        TypeThenOk,
        TypeThenEnter,
        TypeThenCancel,
        TypeThenEscape,
        TypeThenClose,
        AcceptDefault
    };
    struct Case {
        Act Action;
        QString Typed;
        std::string Expected;
    };
    const QString longText = QString("7").repeated(300);
    const Case cases[] = {
        { Act::TypeThenOk, "12", "12" },
        { Act::TypeThenEnter, "abc", "abc" },
        { Act::TypeThenCancel, "12", "30" },
        { Act::TypeThenEscape, "12", "30" },
        { Act::TypeThenClose, "12", "30" },
        { Act::AcceptDefault, "", "30" },
        { Act::TypeThenOk, longText, std::string(InputBoxMaximumLength, '7') },
        { Act::TypeThenOk, "ěščř", "ěščř" },
    };
    Screen screen;
    for (const auto& test : cases) {
        SCOPED_TRACE(static_cast<int>(test.Action));
        bool selectedAtOpen = false;
        BoxWatcher watcher([&](QWidget* widget) {
            auto* box = AsInputBox(widget);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), QString::fromUtf8("Počet otázek"));
            selectedAtOpen = box->Edit()->selectedText() == "30";
            auto centre = box->screen()->availableGeometry().center();
            EXPECT_LE((box->frameGeometry().center() - centre).manhattanLength(), 2);
            if (test.Action != Act::AcceptDefault)
                box->Edit()->insert(test.Typed); // Replaces the selection, as typing does.
            switch (test.Action) {
            case Act::TypeThenOk:
            case Act::AcceptDefault:
                QTest::mouseClick(box->OkButton(), Qt::LeftButton);
                break;
            case Act::TypeThenEnter:
                QTest::keyClick(box->Edit(), Qt::Key_Return);
                break;
            case Act::TypeThenCancel:
                QTest::mouseClick(box->CancelButton(), Qt::LeftButton);
                break;
            case Act::TypeThenEscape:
                QTest::keyClick(box->Edit(), Qt::Key_Escape);
                break;
            case Act::TypeThenClose:
                box->close();
                break;
            }
        });
        EXPECT_EQ(screen.Surface.InputBox("Počet otázek", "Zadejte počet otázek", "30").Get(),
            test.Expected);
        EXPECT_TRUE(selectedAtOpen);
        EXPECT_EQ(watcher.ForcedClosed, 0);
    }
}

TEST(Timer, StartingARunningTimerKeepsItsIntervalGoing)
{
    Screen screen;
    auto* timer = FindControl<QTimer>(screen.Window, Timer::Timer1);
    EXPECT_EQ(timer->interval(), 60000);
    EXPECT_FALSE(timer->isActive());
    screen.Surface.StartTimer(Timer::Timer1);
    ASSERT_TRUE(timer->isActive());
    QThread::msleep(30);
    auto before = timer->remainingTime();
    screen.Surface.StartTimer(Timer::Timer1);
    EXPECT_TRUE(timer->isActive());
    EXPECT_LE(timer->remainingTime(), before);
    EXPECT_LT(timer->remainingTime(), 60000 - 20);

    screen.Surface.StopTimer(Timer::Timer1);
    EXPECT_FALSE(timer->isActive());
    // Started again after a stop, it begins a fresh interval.
    screen.Surface.StartTimer(Timer::Timer1);
    EXPECT_GT(timer->remainingTime(), 60000 - 20);
    screen.Surface.StopTimer(Timer::Timer1);
}

TEST(Timer, TicksGoOnInsideEveryModalBoxAndWindow)
{
    Screen screen;
    int ticks = 0;
    std::function<void()> closeCurrent;
    MainWindow::Commands commands;
    commands.ClockTick = [&] {
        if (++ticks == 3 && closeCurrent)
            closeCurrent();
    };
    screen.Window.SetCommands(commands);
    FindControl<QTimer>(screen.Window, Timer::Timer1)->setInterval(5);

    struct Case {
        const char* Name;
        std::function<void()> Open;
    };
    const Case cases[] = {
        { "message box", [&] { screen.Surface.ShowError("spatně").Get(); } },
        { "yes/no box",
            [&] {
                screen.Surface
                    .MessageBox(
                        "Opravdu ukončit testování?", MessageKind::Confirmation, ButtonSet::YesNo)
                    .Get();
            } },
        { "input box", [&] { screen.Surface.InputBox("c", "p", "30").Get(); } },
        { "failure box",
            [&] { screen.Surface.ReportFailure("'x' is not a valid integer value."); } },
        { "modal window", [&] { screen.Surface.ShowModalWindow(Window::TForm3).Get(); } },
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        ticks = 0;
        BoxWatcher watcher([&](QWidget* box) { closeCurrent = [box] { box->close(); }; });
        screen.Surface.StartTimer(Timer::Timer1);
        test.Open();
        screen.Surface.StopTimer(Timer::Timer1);
        closeCurrent = nullptr;
        EXPECT_GE(ticks, 3);
        EXPECT_EQ(watcher.ForcedClosed, 0);
    }
}

// As in a page left in a hidden tab: every period the event loop missed still gives its tick,
// and the next one comes at its time, not a period after the late ones.
TEST(Timer, PeriodsTheEventLoopMissedStillTickAndTheNextKeepsItsTime)
{
    Screen screen;
    QElapsedTimer since;
    std::vector<qint64> ticks;
    MainWindow::Commands commands;
    commands.ClockTick = [&] { ticks.push_back(since.elapsed()); };
    screen.Window.SetCommands(commands);
    FindControl<QTimer>(screen.Window, Timer::Timer1)->setInterval(1000);
    since.start();
    screen.Surface.StartTimer(Timer::Timer1);
    QThread::msleep(2500);
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks.size(), 2u);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks.size() == 3; }, 5000));
    EXPECT_LT(ticks[2], 3300);
    screen.Surface.StopTimer(Timer::Timer1);
}

TEST(FailureBox, IsCaptionedWithTheApplicationTitleWithTheStopIconAndOkOnly)
{
    Screen screen;
    QString caption, text;
    std::vector<QString> buttons;
    BoxWatcher watcher([&](QWidget* widget) {
        auto* box = AsMessageBox(widget);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        EXPECT_EQ(box->Icon(), MessageIcon::Stop);
        text = box->TextLabel()->text();
        for (auto* button : box->findChildren<QPushButton*>())
            buttons.push_back(button->text());
        box->close();
    });
    screen.Surface.ReportFailure("'abc' is not a valid integer value.");
    EXPECT_EQ(caption, "Brzdomattest");
    EXPECT_EQ(text, "'abc' is not a valid integer value.");
    EXPECT_EQ(buttons, std::vector<QString> { "OK" });
}

TEST(Labels, GiveBackExactlyWhatWasWrittenAndSizeThemselvesToIt)
{
    Screen screen;
    const std::string texts[]
        = { "", "7", "25", "NEZVLÁDÁTE", "NESTÍHÁTE", " 3", "\xff\xfe", "2147483648" };
    for (auto label : { Label::Label2, Label::Label4, Label::Label6, Label::Label8, Label::Label10,
             Label::Label17 }) {
        auto* widget = FindControl<QLabel>(screen.Window, label);
        for (const auto& text : texts) {
            screen.Surface.SetLabelText(label, text);
            EXPECT_EQ(screen.Surface.LabelText(label), text);
            if (!text.empty()) {
                EXPECT_GE(widget->width(), widget->fontMetrics().horizontalAdvance(widget->text()));
            }
        }
        screen.Surface.SetLabelText(label, "1");
        auto narrow = widget->width();
        screen.Surface.SetLabelText(label, "1111");
        EXPECT_GT(widget->width(), narrow);
    }
}

TEST(Labels, TakeTheColourGivenAndKeepItWhenEmptied)
{
    Screen screen;
    for (auto colour : { Green, Red, Blue, Black }) {
        screen.Surface.SetLabelColour(Label::Label10, colour);
        screen.Surface.SetLabelText(Label::Label10, "");
        auto ink = FindControl<QLabel>(screen.Window, Label::Label10)
                       ->palette()
                       .color(QPalette::WindowText);
        EXPECT_EQ(ink, QColor(colour.Red, colour.Green, colour.Blue));
    }
}

TEST(Controls, MenuItemsButtonAndBoxesFollowTheSurface)
{
    Screen screen;
    for (std::size_t index = 0; index < 5; ++index) {
        auto item = static_cast<MenuItem>(index);
        for (auto enabled : { Enabled::No, Enabled::Yes, Enabled::No }) {
            screen.Surface.SetMenuItemEnabled(item, enabled);
            EXPECT_EQ(
                FindControl<QAction>(screen.Window, item)->isEnabled(), enabled == Enabled::Yes);
        }
    }
    // Disabling the item that opens the 32 tests makes its whole submenu unreachable.
    screen.Surface.SetMenuItemEnabled(MenuItem::Vybratsitest1, Enabled::No);
    auto* submenu = screen.Window.findChild<QMenu*>("Vybratsitest1");
    ASSERT_NE(submenu, nullptr);
    EXPECT_FALSE(submenu->menuAction()->isEnabled());

    for (auto enabled : { Enabled::Yes, Enabled::No }) {
        screen.Surface.SetButtonEnabled(PushButton::Button1, enabled);
        EXPECT_EQ(FindControl<QPushButton>(screen.Window, PushButton::Button1)->isEnabled(),
            enabled == Enabled::Yes);
    }
    for (std::size_t index = 0; index < 8; ++index) {
        auto box = static_cast<CheckBox>(index);
        for (auto checked : { Checked::Yes, Checked::No, Checked::Yes }) {
            screen.Surface.SetChecked(box, checked);
            EXPECT_EQ(screen.Surface.IsChecked(box), checked == Checked::Yes);
            EXPECT_EQ(
                FindControl<QCheckBox>(screen.Window, box)->isChecked(), checked == Checked::Yes);
        }
    }
}

TEST(Windows, AreMadeAnewForEveryOpeningAndCloseOnRequest)
{
    Screen screen;
    screen.WhileWindowOpen = [&](QDialog*) { screen.Surface.CloseWindow(Window::TForm3); };
    screen.Surface.ShowModalWindow(Window::TForm3).Get();
    screen.WhileWindowOpen = [&](QDialog*) { screen.Surface.CloseWindow(Window::TForm5); };
    screen.Surface.ShowModalWindow(Window::TForm5).Get();
    screen.Surface.ShowModalWindow(Window::TForm5).Get();
    EXPECT_EQ(screen.WindowsMade, (std::vector { Window::TForm3, Window::TForm5, Window::TForm5 }));
    // Nothing is left behind: every window was destroyed after it closed.
    EXPECT_TRUE(screen.Window.findChildren<QDialog*>().isEmpty());
}

std::shared_ptr<const RgbImage> MakePicture(int width, int height, int seed)
{
    auto picture = std::make_shared<RgbImage>();
    picture->Width = width;
    picture->Height = height;
    picture->Pixels.resize(static_cast<std::size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            auto* pixel = &picture->Pixels[(static_cast<std::size_t>(y) * width + x) * 3];
            pixel[0] = static_cast<std::uint8_t>(x * 7 + seed);
            pixel[1] = static_cast<std::uint8_t>(y * 5 + seed);
            pixel[2] = static_cast<std::uint8_t>((x ^ y) + seed);
        }
    return picture;
}

// Counts the pixels of the control that differ from the picture drawn at natural size from the
// top-left corner with white around it.
int MismatchedPixels(PictureView& view, const RgbImage* picture)
{
    auto shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shown.size(), view.size());
    int wrong = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) {
            QColor expected = Qt::white;
            if (picture && x < picture->Width && y < picture->Height) {
                const auto* pixel
                    = &picture->Pixels[(static_cast<std::size_t>(y) * picture->Width + x) * 3];
                expected = QColor(pixel[0], pixel[1], pixel[2]);
            }
            if (shown.pixelColor(x, y) != expected)
                ++wrong;
        }
    return wrong;
}

TEST(Picture, ShowsThePixelsAtNaturalSizeFromTheTopLeftClippedWithWhiteAround)
{
    Screen screen;
    auto& view = *FindControl<PictureView>(screen.Window, Picture::Image1);
    EXPECT_EQ(view.geometry(), QRect(128, 80, 401, 457));
    EXPECT_EQ(MismatchedPixels(view, nullptr), 0);
    struct Case {
        int Width;
        int Height;
    };
    const Case cases[]
        = { { 1, 1 }, { 40, 30 }, { 401, 457 }, { 402, 458 }, { 640, 200 }, { 100, 900 } };
    int seed = 0;
    for (const auto& test : cases) {
        SCOPED_TRACE(::testing::Message() << test.Width << "x" << test.Height);
        auto picture = MakePicture(test.Width, test.Height, seed += 40);
        screen.Surface.ShowPicture(Picture::Image1, picture);
        EXPECT_EQ(view.Picture(), picture);
        auto* image = QAccessible::queryAccessibleInterface(&view);
        EXPECT_EQ(image->role(), QAccessible::Graphic);
        EXPECT_EQ(MismatchedPixels(view, picture.get()), 0);
    }
}

TEST(Picture, KeepsThePictureWhenHiddenAndWhenGivenNothingUsable)
{
    Screen screen;
    auto& view = *FindControl<PictureView>(screen.Window, Picture::Image1);
    auto picture = MakePicture(50, 60, 3);
    screen.Surface.SetLabelText(Label::Label2, "7");
    screen.Surface.SetLabelText(Label::Label4, "3");
    screen.Surface.ShowPicture(Picture::Image1, picture);
    // A screen reader names the question the picture shows, also after a failed load of the next.
    const QString described = QString::fromUtf8("Test č. 7, otázka č. 3");
    EXPECT_EQ(
        QAccessible::queryAccessibleInterface(&view)->text(QAccessible::Description), described);
    screen.Surface.SetLabelText(Label::Label4, "4");

    auto tooShort = std::make_shared<RgbImage>(*MakePicture(50, 60, 9));
    tooShort->Pixels.resize(tooShort->Pixels.size() - 1);
    auto noSize = std::make_shared<RgbImage>();
    auto negative = std::make_shared<RgbImage>(*MakePicture(4, 4, 1));
    negative->Width = -4;
    auto huge = std::make_shared<RgbImage>(*MakePicture(4, 4, 1));
    huge->Width = 1 << 30;
    for (const auto& refused : std::vector<std::shared_ptr<const RgbImage>> {
             nullptr, tooShort, noSize, negative, huge }) {
        screen.Surface.ShowPicture(Picture::Image1, refused);
        EXPECT_EQ(view.Picture(), picture);
        EXPECT_EQ(view.accessibleDescription(), described);
    }
    EXPECT_EQ(MismatchedPixels(view, picture.get()), 0);

    screen.Surface.SetPictureVisible(Picture::Image1, Visible::No);
    EXPECT_TRUE(view.isHidden());
    screen.Surface.SetPictureVisible(Picture::Image1, Visible::Yes);
    EXPECT_FALSE(view.isHidden());
    EXPECT_EQ(view.Picture(), picture);
    EXPECT_EQ(MismatchedPixels(view, picture.get()), 0);
}

TEST(Picture, KeepsItsPixelsAliveAfterTheDecoderLetsGo)
{
    Screen screen;
    auto picture = MakePicture(30, 20, 77);
    auto copy = *picture;
    std::weak_ptr<const RgbImage> watch = picture;
    screen.Surface.ShowPicture(Picture::Image1, std::move(picture));
    EXPECT_FALSE(watch.expired());
    EXPECT_EQ(
        MismatchedPixels(*FindControl<PictureView>(screen.Window, Picture::Image1), &copy), 0);
    // Replaced, the old pixels are let go.
    screen.Surface.ShowPicture(Picture::Image1, MakePicture(3, 3, 0));
    EXPECT_TRUE(watch.expired());
}

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    std::vector<QUrl> Opened;
public slots:
    void Open(const QUrl& url) { Opened.push_back(url); }
};

TEST(WebAddress, IsHandedToTheDesktop)
{
    Screen screen;
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler("https", &catcher, "Open");
    screen.Surface.OpenWebAddress("https://example.org/brzdomat");
    QDesktopServices::unsetUrlHandler("https");
    ASSERT_EQ(catcher.Opened.size(), 1u);
    EXPECT_EQ(catcher.Opened.front(), QUrl("https://example.org/brzdomat"));
}

} // namespace
} // namespace brzdomat

#include "ui_surface_test.moc"
