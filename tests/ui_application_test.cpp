// The program's window wired to its logic, driven in process as the user drives it: menu
// commands, ticks and "Potvrď", with the boxes answered from inside their own event loops. The
// clock is driven by shortening its interval, so thirty "minutes" pass in a moment.

#include "bank/question_picture.h"
#include "tests/testsupport/jpeg_maker.h"
#include "tests/ui_test_helpers.h"
#include "ui/qt/application.h"
#include "ui/qt/layout_fonts.h"
#include "ui/qt/picture_view.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace brzdomat {
namespace {

using testing::AsInputBox;
using testing::AsMessageBox;
using testing::BoxWatcher;
using testing::ChosenTestItem;
using testing::ClientArea;

struct Box {
    QString Caption;
    QString Text;
    friend bool operator==(const Box&, const Box&) = default;
};

std::ostream& operator<<(std::ostream& out, const Box& box)
{
    return out << box.Caption.toStdString() << ": " << box.Text.toStdString();
}

// Writes the pictures of one test: each a flat colour of its own, so a shown picture tells
// which question it belongs to.
void WritePictures(const QString& folder, int test)
{
    std::filesystem::create_directories(
        std::filesystem::path { folder.toStdString() } / PictureFolderName);
    testing::JpegRecipe card;
    card.Width = 120;
    card.Height = 90;
    card.Drawing = testing::Content::Flat;
    card.Quality = 100;
    for (int question = 1; question <= QuestionsPerTest; ++question) {
        card.FlatColour = { static_cast<std::uint8_t>(10 * question),
            static_cast<std::uint8_t>(255 - 9 * question), static_cast<std::uint8_t>(test * 7) };
        testing::WriteBytes(
            QuestionPicturePath(folder.toStdString(), { test, question }), testing::MakeJpeg(card));
    }
}

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest()
        : Program("Brzdomattest", [this](Window window, QWidget* parent) {
            WindowsMade.push_back(window);
            // A stand-in for the secondary windows that closes itself at once, as the splash
            // does after its timer.
            auto dialog = std::make_unique<QDialog>(parent);
            QTimer::singleShot(0, dialog.get(), &QDialog::accept);
            return dialog;
        })
    {
    }

    QLabel* Status(Label label) { return FindControl<QLabel>(Program.Main(), label); }
    QCheckBox* AnswerBox(CheckBox box) { return FindControl<QCheckBox>(Program.Main(), box); }
    QPushButton* ConfirmButton()
    {
        return FindControl<QPushButton>(Program.Main(), PushButton::Button1);
    }
    PictureView* QuestionPicture()
    {
        return FindControl<PictureView>(Program.Main(), Picture::Image1);
    }
    QTimer* Clock() { return FindControl<QTimer>(Program.Main(), Timer::Timer1); }
    QString StatusText(Label label) { return Status(label)->text(); }
    QAction* Item(const char* name) { return Program.Main().findChild<QAction*>(name); }

    void StartTest(int test)
    {
        // The first activation records the current directory; the pictures lie elsewhere.
        Program.Controller().FormActivate();
        Program.Controller().RecordStartDirectory(Pictures.path().toStdString());
        WritePictures(Pictures.path(), test);
        ChosenTestItem(Program.Main(), test)->trigger();
    }

    // Ticks the answer boxes as the user would and presses "Potvrď".
    void Answer(bool right)
    {
        QuestionRef question { StatusText(Label::Label2).toInt(),
            StatusText(Label::Label4).toInt() };
        const auto& key = Program.Controller().Key();
        bool tickedAny = false;
        for (auto option : AllOptions) {
            bool correct = key.Mark(question, option) == AnswerMark::X;
            bool tick = right ? correct : !correct;
            auto* box = AnswerBox(static_cast<CheckBox>(4 + static_cast<int>(option)));
            if (tick != box->isChecked())
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, 8));
            tickedAny = tickedAny || tick;
        }
        ASSERT_TRUE(tickedAny);
        QTest::mouseClick(ConfirmButton(), Qt::LeftButton);
    }

    // Records every box and answers it: message boxes with their default button unless a reply
    // is queued, input boxes with the queued text.
    BoxWatcher Watch(std::vector<PressedButton> replies = {}, std::vector<QString> typed = {})
    {
        MessageReplies = std::move(replies);
        TypedReplies = std::move(typed);
        return BoxWatcher([this](QWidget* widget) {
            if (auto* box = AsMessageBox(widget)) {
                Boxes.push_back({ box->windowTitle(), box->TextLabel()->text() });
                if (OnMessage)
                    OnMessage(box);
                auto reply = box->DefaultButton();
                if (!MessageReplies.empty()) {
                    reply = MessageReplies.front();
                    MessageReplies.erase(MessageReplies.begin());
                }
                QPointer<MessageDialog> guarded = box;
                auto press = [guarded, reply] {
                    if (!guarded)
                        return;
                    if (reply == PressedButton::Cancel)
                        guarded->close();
                    else
                        QTest::mouseClick(guarded->Button(reply), Qt::LeftButton);
                };
                if (ReplyDelayMs > 0)
                    QTimer::singleShot(ReplyDelayMs, box, press);
                else
                    press();
            } else if (auto* input = AsInputBox(widget)) {
                Boxes.push_back({ input->windowTitle(), input->Edit()->text() });
                if (!TypedReplies.empty()) {
                    input->Edit()->setText(TypedReplies.front());
                    TypedReplies.erase(TypedReplies.begin());
                }
                QTest::mouseClick(input->OkButton(), Qt::LeftButton);
            }
        });
    }

    void ExpectIdle()
    {
        for (auto label : { Label::Label2, Label::Label4, Label::Label6, Label::Label8,
                 Label::Label10, Label::Label17 })
            EXPECT_EQ(StatusText(label), "") << static_cast<int>(label);
        EXPECT_FALSE(ConfirmButton()->isEnabled());
        EXPECT_FALSE(Item("Ukonittest1")->isEnabled());
        for (auto* name :
            { "Vybratsitest1", "Nhodnceltest1", "Nhodnvbrotzek251", "plnnhodnvbrotzek1" })
            EXPECT_TRUE(Item(name)->isEnabled()) << name;
        EXPECT_FALSE(Clock()->isActive());
    }

    void ExpectRunning()
    {
        EXPECT_TRUE(ConfirmButton()->isEnabled());
        EXPECT_TRUE(Item("Ukonittest1")->isEnabled());
        for (auto* name :
            { "Vybratsitest1", "Nhodnceltest1", "Nhodnvbrotzek251", "plnnhodnvbrotzek1" })
            EXPECT_FALSE(Item(name)->isEnabled()) << name;
        for (auto* name : { "Zavt1", "Oprogramu1", "About1" })
            EXPECT_TRUE(Item(name)->isEnabled()) << name;
        EXPECT_FALSE(QuestionPicture()->isHidden());
        EXPECT_TRUE(Clock()->isActive());
    }

    QTemporaryDir Pictures;
    std::vector<Window> WindowsMade;
    Application Program;
    std::vector<Box> Boxes;
    std::vector<PressedButton> MessageReplies;
    std::vector<QString> TypedReplies;
    std::function<void(MessageDialog*)> OnMessage;
    // Message boxes are answered this long after they open; 0 answers at once.
    int ReplyDelayMs = 0;
};

TEST_F(ProgramTest, StartsWithEmptyStatusLabelsAndTheIdleControls)
{
    ExpectIdle();
    EXPECT_FALSE(QuestionPicture()->isHidden());
    EXPECT_EQ(QuestionPicture()->Picture(), nullptr);
    for (int index = 0; index < 8; ++index)
        EXPECT_FALSE(AnswerBox(static_cast<CheckBox>(index))->isChecked());
    EXPECT_TRUE(WindowsMade.empty());
}

TEST_F(ProgramTest, FirstActivationShowsTheSplashOnceAndRecordsTheCurrentDirectory)
{
    Program.Show();
    Program.Main().activateWindow();
    // QTest's own waiting macros report to QTest, not to this test, so the waits are checked here.
    ASSERT_TRUE(QTest::qWaitFor([&] { return Program.Controller().ActivatedOnce(); }));
    ASSERT_EQ(WindowsMade.size(), std::size_t { 1 });
    // The program icon follows the first paint.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Program.Main().windowIcon().isNull(); }, 2000));
    EXPECT_EQ(WindowsMade.front(), Window::TForm2);
    EXPECT_EQ(QString::fromStdString(Program.Controller().StartDirectory()),
        QDir::toNativeSeparators(QDir::currentPath()));

    // Later activations, clicks and commands show no second splash.
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&Program.Main(), &activate);
    QTest::mouseClick(ClientArea(Program.Main()), Qt::LeftButton);
    // The activation is handled from the event loop, so everything queued is run first.
    QApplication::processEvents();
    EXPECT_EQ(WindowsMade.size(), std::size_t { 1 });
}

TEST_F(ProgramTest, ACommandBeforeAnyActivationDoesTheActivationsWorkFirst)
{
    // The window is never shown, as under a window manager that reports no activation.
    auto watcher = Watch();
    Item("About1")->trigger();
    EXPECT_EQ(WindowsMade, (std::vector { Window::TForm2, Window::TForm3 }));
    EXPECT_TRUE(Program.Controller().ActivatedOnce());
    EXPECT_FALSE(Program.Controller().StartDirectory().empty());
}

TEST_F(ProgramTest, AClickIntoTheWindowStandsInForAnActivationNeverReported)
{
    for (QWidget* target : std::initializer_list<QWidget*> {
             ClientArea(Program.Main()), ClientArea(Program.Main()), Program.Main().menuBar() }) {
        QTest::mousePress(target, Qt::LeftButton, {}, QPoint(300, 5));
        QTest::mouseRelease(target, Qt::LeftButton, {}, QPoint(300, 5));
        ASSERT_TRUE(QTest::qWaitFor([&] { return Program.Controller().ActivatedOnce(); }, 2000));
    }
    QApplication::processEvents();
    EXPECT_EQ(WindowsMade, std::vector { Window::TForm2 });
    EXPECT_EQ(QString::fromStdString(Program.Controller().StartDirectory()),
        QDir::toNativeSeparators(QDir::currentPath()));
}

TEST_F(ProgramTest, AWholeChosenTestRunsToTheEndMessageAndBackToIdle)
{
    auto watcher = Watch();
    StartTest(7);
    ExpectRunning();
    EXPECT_EQ(StatusText(Label::Label2), "7");
    EXPECT_EQ(StatusText(Label::Label10), QString::fromUtf8("ZVLÁDÁTE"));
    EXPECT_EQ(Status(Label::Label10)->palette().color(QPalette::WindowText), QColor(0, 128, 0));
    for (int question = 1; question <= 25; ++question) {
        ASSERT_EQ(StatusText(Label::Label4), QString::number(question));
        auto picture = QuestionPicture()->Picture();
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->Width, 120);
        // The flat colour tells the question: its red is 10 times the question number.
        EXPECT_NEAR(picture->Pixels[0], 10 * question, 3);
        Answer(true);
        if (question < 25) {
            EXPECT_EQ(StatusText(Label::Label6), "0");
        }
    }
    // Right answers to all 25 questions make all 65 points, and the end message comes.
    ASSERT_EQ(Boxes.size(), 1u) << ::testing::PrintToString(Boxes);
    EXPECT_EQ(Boxes[0],
        (Box { "Information",
            QString::fromUtf8("Konec testu - prohlédněte si výsledky a poté klikněte na ok") }));
    ExpectIdle();
    EXPECT_TRUE(QuestionPicture()->isHidden());
}

TEST_F(ProgramTest, AWrongAnswerTicksTheCorrectAnswersAndSaysSpatne)
{
    std::vector<bool> correctTicksWhileOpen;
    QFont boxFont;
    OnMessage = [&](MessageDialog* box) {
        boxFont = box->font();
        for (int index = 0; index < 4; ++index)
            correctTicksWhileOpen.push_back(AnswerBox(static_cast<CheckBox>(index))->isChecked());
    };
    auto watcher = Watch();
    StartTest(3);
    Answer(false);
    ASSERT_EQ(Boxes.size(), 1u) << ::testing::PrintToString(Boxes);
    EXPECT_EQ(Boxes[0], (Box { "Error", QString::fromUtf8("spatně") }));
    std::vector<bool> expected;
    for (auto option : AllOptions)
        expected.push_back(Program.Controller().Key().Mark({ 3, 1 }, option) == AnswerMark::X);
    EXPECT_EQ(correctTicksWhileOpen, expected);
    // The box and the menus read in the desktop's font, not in the layout's.
    EXPECT_NE(boxFont, Program.Main().centralWidget()->font());
    EXPECT_EQ(boxFont, Program.Main().menuBar()->font());
    // Question 1 weighs its points into the error count; question 2 follows.
    EXPECT_NE(StatusText(Label::Label6), "0");
    EXPECT_EQ(StatusText(Label::Label8), "0");
    EXPECT_EQ(StatusText(Label::Label4), "2");
}

TEST_F(ProgramTest, ConfirmingWithNothingTickedIsRefused)
{
    auto watcher = Watch();
    StartTest(1);
    QTest::mouseClick(ConfirmButton(), Qt::LeftButton);
    ASSERT_EQ(Boxes.size(), 1u) << ::testing::PrintToString(Boxes);
    EXPECT_EQ(Boxes[0], (Box { "Error", QString::fromUtf8("Nelze nevybrat žádnou odpověď") }));
    EXPECT_EQ(StatusText(Label::Label4), "1");
}

TEST_F(ProgramTest, TheEarlyEndAsksAndEndsOnlyOnYes)
{
    struct Case {
        PressedButton Reply;
        bool Ends;
    };
    const Case cases[] = { { PressedButton::No, false }, { PressedButton::Cancel, false },
        { PressedButton::Yes, true } };
    StartTest(2);
    for (const auto& test : cases) {
        Boxes.clear();
        auto watcher = Watch({ test.Reply });
        Item("Ukonittest1")->trigger();
        ASSERT_EQ(Boxes.size(), 1u) << ::testing::PrintToString(Boxes);
        EXPECT_EQ(Boxes[0], (Box { "Confirm", QString::fromUtf8("Opravdu ukončit testování?") }));
        if (test.Ends)
            ExpectIdle();
        else
            ExpectRunning();
    }
}

TEST_F(ProgramTest, TheReviewShowsTheLastRunAndItsMistakesArePractisedFromIt)
{
    const char* lastRunItems[] = { "Pehledposlednhotestu1", "Procviitchybnotzky1" };
    for (auto* name : lastRunItems)
        EXPECT_FALSE(Item(name)->isEnabled()) << name;
    auto watcher = Watch();
    StartTest(5);
    for (auto* name : { "Pehledposlednhotestu1", "Procviitchybnotzky1", "Prodlouenas60minut1" })
        EXPECT_FALSE(Item(name)->isEnabled()) << name;
    Answer(true);
    Answer(false);
    Item("Ukonittest1")->trigger();
    ExpectIdle();
    for (auto* name : lastRunItems)
        EXPECT_TRUE(Item(name)->isEnabled()) << name;

    // Looked at while it is open; each opening is then left by the given key or button.
    std::function<void(QDialog&)> inspect;
    testing::BoxWatcher reviews([&](QWidget* widget) {
        auto* dialog = qobject_cast<QDialog*>(widget);
        if (dialog && dialog->objectName() == "ReviewWindow")
            inspect(*dialog);
    });
    int opened = 0;
    inspect = [&](QDialog& review) {
        ++opened;
        EXPECT_EQ(review.windowTitle(), QString::fromUtf8("Přehled testu"));
        auto* rows = review.findChild<QTreeView*>("ReviewRows");
        const QAbstractItemModel& model = *rows->model();
        ASSERT_EQ(model.rowCount(), 25); // 2 answered, 23 never reached
        EXPECT_EQ(model.index(1, 0).data(Qt::AccessibleTextRole).toString().left(30),
            QString::fromUtf8("Otázka 2 testu 5, 2 body, zašk"));
        EXPECT_TRUE(model.index(1, 3)
                        .data(Qt::AccessibleTextRole)
                        .toString()
                        .endsWith(QString::fromUtf8(", špatně")));
        EXPECT_TRUE(
            model.index(2, 5).data().toString().endsWith(QString::fromUtf8("nezodpovězeno")));
        // Every cell shows its text whole inside the view, in whatever face the system gave it.
        const int margin = rows->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1;
        for (int row = 0; row < model.rowCount(); ++row)
            for (int column = 0; column < model.columnCount(); ++column) {
                const QString text = model.index(row, column).data().toString();
                const QRect cell = rows->visualRect(model.index(row, column));
                EXPECT_EQ(
                    rows->fontMetrics().elidedText(text, Qt::ElideRight, cell.width() - 2 * margin),
                    text);
                EXPECT_LE(cell.right(), rows->viewport()->width()) << text.toStdString();
            }
        // The arrow key moves to the wrong answer: its picture, the student's ticks and the key's.
        QTest::keyClick(rows, Qt::Key_Down);
        auto picture = review.findChild<PictureView*>("ReviewPicture")->Picture();
        ASSERT_NE(picture, nullptr);
        EXPECT_NEAR(picture->Pixels[0], 10 * 2, 3);
        for (auto option : AllOptions) {
            const char* letter[] = { "A", "B", "C", "D" };
            bool correct = Program.Controller().Key().Mark({ 5, 2 }, option) == AnswerMark::X;
            auto index = static_cast<std::size_t>(option);
            EXPECT_EQ(review.findChild<QCheckBox*>(QString("Correct") + letter[index])->isChecked(),
                correct);
            EXPECT_EQ(review.findChild<QCheckBox*>(QString("Ticked") + letter[index])->isChecked(),
                !correct);
        }
        EXPECT_TRUE(review.findChild<QPushButton*>("ReviewSavePdf")->isEnabled());
        if (opened == 1)
            QTest::keyClick(&review, Qt::Key_Escape);
        else
            QTest::mouseClick(review.findChild<QPushButton*>("ReviewPractise"), Qt::LeftButton);
    };
    Item("Pehledposlednhotestu1")->trigger();
    EXPECT_EQ(opened, 1);
    ExpectIdle();

    Item("Pehledposlednhotestu1")->trigger();
    EXPECT_EQ(opened, 2);
    ExpectRunning();
    EXPECT_EQ(StatusText(Label::Label2), "5");
    EXPECT_EQ(StatusText(Label::Label4), "2");
    EXPECT_EQ(reviews.ForcedClosed, 0);
}

TEST_F(ProgramTest, TheClockEndsTheTestAfterThirtyMinutesAlsoWhileABoxIsOpen)
{
    auto watcher = Watch();
    StartTest(5);
    Clock()->setInterval(1);
    // The user's wrong answer leaves "spatně" open for a while; the clock runs on behind it and
    // ends the test run inside that box.
    ReplyDelayMs = 200;
    QString verdictAtTimeOut;
    QColor verdictInkAtTimeOut;
    OnMessage = [&](MessageDialog* box) {
        if (box->TextLabel()->text() == QString::fromUtf8("Čas vypršel !!")) {
            verdictAtTimeOut = StatusText(Label::Label10);
            verdictInkAtTimeOut = Status(Label::Label10)->palette().color(QPalette::WindowText);
        }
    };
    Answer(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Clock()->isActive(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QApplication::activeModalWidget(); }, 5000));
    EXPECT_EQ(Boxes,
        (std::vector<Box> { { "Error", QString::fromUtf8("spatně") },
            { "Error", QString::fromUtf8("Čas vypršel !!") },
            { "Information",
                QString::fromUtf8(
                    "Konec testu - prohlédněte si výsledky a poté klikněte na ok") } }));
    EXPECT_EQ(verdictAtTimeOut, QString::fromUtf8("NESTÍHÁTE"));
    EXPECT_EQ(verdictInkAtTimeOut, QColor(255, 0, 0));
    ExpectIdle();
    EXPECT_EQ(watcher.ForcedClosed, 0);
}

TEST_F(ProgramTest, TheLongerLimitIsTickedInTheMenuAndTheClockRunsOnTo60)
{
    auto* longer = Item("Prodlouenas60minut1");
    longer->trigger();
    EXPECT_TRUE(longer->isChecked());
    auto watcher = Watch();
    StartTest(6);
    EXPECT_FALSE(longer->isEnabled());
    QString minutesAtTimeOut;
    OnMessage = [&](MessageDialog* box) {
        if (box->TextLabel()->text() == QString::fromUtf8("Čas vypršel !!"))
            minutesAtTimeOut = StatusText(Label::Label17);
    };
    Clock()->setInterval(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Clock()->isActive(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !QApplication::activeModalWidget(); }, 5000));
    EXPECT_EQ(minutesAtTimeOut, "60");
    ExpectIdle();
    EXPECT_TRUE(longer->isEnabled());
    longer->trigger();
    EXPECT_FALSE(longer->isChecked());
}

TEST_F(ProgramTest, AFailedConversionIsReportedUnderTheApplicationTitleAndTheProgramGoesOn)
{
    auto watcher = Watch({}, { "abc" });
    Program.Controller().FormActivate();
    Program.Controller().RecordStartDirectory(Pictures.path().toStdString());
    Item("plnnhodnvbrotzek1")->trigger();
    ASSERT_GE(Boxes.size(), 2u);
    EXPECT_EQ(Boxes[1], (Box { "Brzdomattest", "'abc' is not a valid integer value." }));
    // The program goes on: a chosen test can start.
    StartTest(4);
    ExpectRunning();
}

class ClosingTest : public ProgramTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(ClosingTest, DuringATestRunEndsAtOnceWithoutAMessage)
{
    auto watcher = Watch();
    Program.Show();
    StartTest(9);
    Answer(true);
    if (std::string(GetParam()) == "Zavt1")
        Item("Zavt1")->trigger();
    else
        Program.Main().close();
    EXPECT_FALSE(Program.Main().isVisible());
    EXPECT_FALSE(Clock()->isActive());
    EXPECT_TRUE(Boxes.empty());
}

INSTANTIATE_TEST_SUITE_P(ByMenuAndCloseBox, ClosingTest, ::testing::Values("Zavt1", "closeBox"));

} // namespace
} // namespace brzdomat
