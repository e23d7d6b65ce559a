#include "tests/controller_fixture.h"

#include "bank/question_picture.h"
#include "testrun/run_review.h"
#include "testrun/scoring.h"
#include "testrun/text_to_int.h"
#include "tests/testsupport/jpeg_maker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace brzdomat::testing {
namespace {

using Controller_ = ExamController;

std::vector<std::string> ExpectedStartOf(int test)
{
    return {
        "SetMenuItemEnabled(Vybratsitest1, No)",
        "SetMenuItemEnabled(Nhodnceltest1, No)",
        "SetMenuItemEnabled(Nhodnvbrotzek251, No)",
        "SetMenuItemEnabled(plnnhodnvbrotzek1, No)",
        "SetMenuItemEnabled(Ukonittest1, Yes)",
        "SetMenuItemEnabled(Pehledposlednhotestu1, No)",
        "SetMenuItemEnabled(Procviitchybnotzky1, No)",
        "SetMenuItemEnabled(Prodlouenas60minut1, No)",
        "StartTimer(Timer1)",
        "SetLabelText(Label17, \"0\")",
        "SetLabelColour(Label10, 0,128,0)",
        "SetLabelText(Label10, \"ZVLÁDÁTE\")",
        "SetLabelText(Label6, \"0\")",
        "SetLabelText(Label8, \"0\")",
        "SetPictureVisible(Image1, Yes)",
        "SetButtonEnabled(Button1, Yes)",
        "SetLabelText(Label2, \"" + std::to_string(test) + "\")",
        "SetLabelText(Label4, \"1\")",
        "SetChecked(CheckBox1, No)",
        "SetChecked(CheckBox2, No)",
        "SetChecked(CheckBox3, No)",
        "SetChecked(CheckBox4, No)",
        "SetChecked(CheckBox5, No)",
        "SetChecked(CheckBox6, No)",
        "SetChecked(CheckBox7, No)",
        "SetChecked(CheckBox8, No)",
    };
}

// ---------------------------------------------------------------------------------------------
// The generator

TEST(RandomBelow, DrawsTheProgramsFixedSequenceFromStart)
{
    RecordingSurface surface;
    ExamController controller { surface };
    const int expected[] = { 0, 1, 27, 6, 8, 21, 10, 5, 11, 13 };
    for (int draw : expected)
        EXPECT_EQ(controller.RandomBelow(32), draw);
}

TEST(RandomBelow, StaysBelowItsBoundAndSharesOneStateAcrossBounds)
{
    RecordingSurface surface;
    ExamController controller { surface };
    ReferenceGenerator reference;
    const int bounds[] = { 25, 32, 1, 2, 1000, 2147483647 };
    for (int round = 0; round < 2000; ++round) {
        int bound = bounds[round % 6];
        int draw = controller.RandomBelow(bound);
        ASSERT_EQ(draw, reference.Below(bound)) << round;
        ASSERT_GE(draw, 0);
        ASSERT_LT(draw, bound);
    }
    EXPECT_EQ(controller.RandomSeed(), reference.Seed);
}

TEST(RandomBelow, RefusesAnEmptyRangeWithoutDrawing)
{
    RecordingSurface surface;
    ExamController controller { surface };
    for (int bound : { 0, -1, -2147483647 - 1 })
        EXPECT_THROW(controller.RandomBelow(bound), std::out_of_range) << bound;
    EXPECT_EQ(controller.RandomSeed(), 0u);
}

// ---------------------------------------------------------------------------------------------
// Start-up

TEST(StartUp, CreationEmptiesTheStatusLabelsTheLayoutFilled)
{
    RecordingSurface surface;
    // The texts the window's layout gives these labels; none may show.
    surface.Texts = { { Label::Label2, "1" }, { Label::Label4, "1" }, { Label::Label6, "0" },
        { Label::Label8, "0" }, { Label::Label17, "30" }, { Label::Label10, "NEZVLÁDÁTE" } };
    ExamController controller { surface };
    controller.FormCreate();
    for (const auto& [label, text] : surface.Texts)
        EXPECT_EQ(text, "") << static_cast<int>(label);
    EXPECT_FALSE(controller.ActivatedOnce());
    EXPECT_EQ(controller.TestMode(), "");
    EXPECT_EQ(controller.StartDirectory(), "");
    EXPECT_TRUE(surface.Boxes.empty());
    EXPECT_EQ(controller.Key().Mark({ 1, 2 }, Option::B), AnswerMark::X);
}

TEST(StartUp, OnlyTheFirstActivationShowsTheSplashAndRecordsTheDirectory)
{
    RecordingSurface surface;
    ExamController controller { surface };
    controller.FormCreate();
    std::string directoryWhileSplashOpen = "unset";
    surface.ReplyButton(PressedButton::Ok, [&] {
        directoryWhileSplashOpen = controller.StartDirectory();
        // Closing the splash activates the main window again before FormActivate returns.
        controller.FormActivate();
    });
    controller.FormActivate();
    controller.FormActivate();
    controller.FormActivate();

    ASSERT_EQ(surface.Boxes.size(), 1u);
    EXPECT_EQ(surface.Boxes[0].Kind, BoxRecord::Type::Window);
    EXPECT_EQ(surface.Boxes[0].Text, "TForm2");
    EXPECT_EQ(directoryWhileSplashOpen, "");
    EXPECT_EQ(controller.StartDirectory(), std::filesystem::current_path().string());
    EXPECT_TRUE(controller.ActivatedOnce());
}

// The current directory as the system names it, or "." where the system cannot name it because
// its folder was removed: that still means the current directory, where an empty start directory
// would send the pictures to the root. Windows cannot remove a folder in use, and Emscripten's
// file system under node keeps naming the folder it removed (in a page the folder is the page's).
TEST(StartUp, AStartBeforeAnyActivationRecordsTheDirectoryWithoutASplash)
{
    struct Case {
        const char* Name;
        bool RemoveCurrent;
    };
    std::vector<Case> cases { { "readable", false } };
#if !defined(_WIN32) && !defined(__EMSCRIPTEN__)
    cases.push_back({ "removed", true });
#endif
    const std::filesystem::path saved = std::filesystem::current_path();
    for (const Case& each : cases) {
        SCOPED_TRACE(each.Name);
        TemporaryFolder folder;
        std::filesystem::current_path(folder.Path());
        std::string expected = std::filesystem::current_path().string();
        if (each.RemoveCurrent) {
            std::filesystem::remove(folder.Path());
            expected = ".";
        }
        RecordingSurface surface;
        ExamController controller { surface };
        controller.FormCreate();
        surface.DefaultReplier = [](const BoxRecord&) { return BoxReply {}; };
        RunHandler(surface, [&] { controller.N11Click(); });
        std::filesystem::current_path(saved);
        EXPECT_EQ(controller.StartDirectory(), expected);
        for (const BoxRecord& box : surface.Boxes)
            EXPECT_NE(box.Kind, BoxRecord::Type::Window);
        EXPECT_EQ(surface.LabelText(Label::Label2), "1");
    }
}

TEST(StartUp, TheOtherMenuCommandsOpenAndCloseTheirWindows)
{
    RecordingSurface surface;
    ExamController controller { surface };
    controller.About1Click();
    controller.Oprogramu1Click();
    controller.Zavt1Click();
    EXPECT_EQ(surface.Log,
        (std::vector<std::string> {
            "ShowModalWindow(TForm3)", "ShowModalWindow(TForm5)", "CloseWindow(TForm1)" }));
}

// ---------------------------------------------------------------------------------------------
// Starting test runs

TEST_F(ControllerTest, EachOfThe32ItemsStartsItsOwnTestAtQuestion1)
{
    const std::pair<ExamController::Handler, int> items[] = { { &Controller_::N11Click, 1 },
        { &Controller_::N21Click, 2 }, { &Controller_::N31Click, 3 }, { &Controller_::N41Click, 4 },
        { &Controller_::N51Click, 5 }, { &Controller_::N61Click, 6 }, { &Controller_::N71Click, 7 },
        { &Controller_::N81Click, 8 }, { &Controller_::N91Click, 9 },
        { &Controller_::N101Click, 10 }, { &Controller_::N111Click, 11 },
        { &Controller_::N121Click, 12 }, { &Controller_::N131Click, 13 },
        { &Controller_::N141Click, 14 }, { &Controller_::N151Click, 15 },
        { &Controller_::N161Click, 16 }, { &Controller_::N171Click, 17 },
        { &Controller_::N181Click, 18 }, { &Controller_::N191Click, 19 },
        { &Controller_::N201Click, 20 }, { &Controller_::N211Click, 21 },
        { &Controller_::N221Click, 22 }, { &Controller_::N231Click, 23 },
        { &Controller_::N241Click, 24 }, { &Controller_::N251Click, 25 },
        { &Controller_::N261Click, 26 }, { &Controller_::N271Click, 27 },
        { &Controller_::N281Click, 28 }, { &Controller_::N291Click, 29 },
        { &Controller_::N301Click, 30 }, { &Controller_::N311Click, 31 },
        { &Controller_::N321Click, 32 } };
    for (const auto& [handler, test] : items) {
        Surface.ClearLog();
        Run(handler);
        EXPECT_EQ(Current(), (QuestionRef { test, 1 })) << test;
        EXPECT_EQ(Controller.TestMode(), "obycejnycely");
        EXPECT_TRUE(IsRunningState()) << test;
        EXPECT_TRUE(Surface.Boxes.empty()) << test;
        // The window connects item k to ChosenTestHandlers[k - 1].
        EXPECT_EQ(ExamController::ChosenTestHandlers[static_cast<std::size_t>(test - 1)], handler);
        Surface.ReplyButton(PressedButton::Yes);
        Run(&Controller_::Ukonittest1Click);
        ASSERT_TRUE(IsIdleState()) << test;
    }
    EXPECT_EQ(Controller.RandomSeed(), 0u);
}

TEST_F(ControllerTest, AChosenTestIsRefusedOutsideTheBank)
{
    for (int test : { 0, 33, -1 }) {
        RunHandler(Surface, [&] { Controller.StartChosenTest(test); });
        EXPECT_EQ(Controller.TestMode(), "");
        EXPECT_FALSE(Controller.TestRunning());
    }
}

TEST_F(ControllerTest, AStartSetsTheRunningStateBeforeTheFirstQuestionInThisOrder)
{
    Surface.ClearLog();
    Run(&Controller_::N71Click);
    std::vector<std::string> expected = ExpectedStartOf(7);
    ASSERT_EQ(Surface.Log.size(), expected.size() + 2);
    for (std::size_t line = 0; line < expected.size(); ++line)
        EXPECT_EQ(Surface.Log[line], expected[line]) << line;
    EXPECT_EQ(Surface.Log[expected.size()].rfind("ShowPicture(Image1, ", 0), 0u)
        << Surface.Log[expected.size()];
    EXPECT_EQ(Surface.Log.back(), "QuestionComesNext(7_2)");
    EXPECT_EQ(Surface.Colours.at(Label::Label10), Green);
    EXPECT_EQ(Surface.TimerIntervalsStarted, 1);
}

TEST_F(ControllerTest, RandomWholeTestsComeInTheProgramsFixedOrder)
{
    for (int expectedTest : { 1, 2, 28 }) {
        Run(&Controller_::Nhodnceltest1Click);
        EXPECT_EQ(Current(), (QuestionRef { expectedTest, 1 }));
        EXPECT_EQ(Controller.TestMode(), "obycejnycely");
        // A random whole test runs through its questions like a chosen one.
        for (int question = 2; question <= 25; ++question) {
            AnswerRight();
            ASSERT_EQ(Current(), (QuestionRef { expectedTest, question }));
        }
        Surface.ReplyButton(PressedButton::Ok); // end of test
        AnswerRight();
        EXPECT_TRUE(IsIdleState());
    }
    EXPECT_EQ(MessageCount(EndOfTestText), 3);
}

TEST_F(ControllerTest, ChosenTest32RunsItsQuestionsInOrderAndTheLastConfirmationEndsIt)
{
    Run(&Controller_::N321Click);
    for (int question = 1; question <= 25; ++question) {
        ASSERT_EQ(Text(Label::Label2), "32");
        ASSERT_EQ(Text(Label::Label4), std::to_string(question));
        if (question < 25) {
            AnswerRight();
        } else {
            std::string achievedAtEnd;
            bool stillRunning = false;
            Surface.ReplyButton(PressedButton::Ok, [&] {
                achievedAtEnd = Text(Label::Label8);
                stillRunning = Surface.PictureVisible && !Surface.TimerRunning;
            });
            AnswerRight();
            EXPECT_EQ(achievedAtEnd, "65");
            EXPECT_TRUE(stillRunning);
        }
    }
    EXPECT_TRUE(IsIdleState());
    EXPECT_EQ(Surface.MessageTexts(), (std::vector<std::string> { std::string { EndOfTestText } }));
    EXPECT_EQ(Controller.TestMode(), "obycejnycely"); // kept after the end
}

TEST_F(ControllerTest, TheEndOfATestStopsTheClockFirstAndEmptiesEverythingAfterItsMessage)
{
    Run(&Controller_::N51Click);
    for (int question = 1; question < 25; ++question)
        AnswerRight();
    Choose(CorrectLetters(Controller.Key(), Current()));
    Surface.ClearLog();
    Surface.ReplyButton(PressedButton::Ok);
    Confirm();
    std::vector<std::string> tail { "StopTimer(Timer1)",
        "MessageBox(\"" + std::string { EndOfTestText } + "\", Information, Ok)",
        "SetPictureVisible(Image1, No)", "SetMenuItemEnabled(Vybratsitest1, Yes)",
        "SetMenuItemEnabled(Nhodnceltest1, Yes)", "SetMenuItemEnabled(Nhodnvbrotzek251, Yes)",
        "SetMenuItemEnabled(plnnhodnvbrotzek1, Yes)", "SetMenuItemEnabled(Ukonittest1, No)",
        "SetMenuItemEnabled(Pehledposlednhotestu1, Yes)",
        "SetMenuItemEnabled(Procviitchybnotzky1, No)",
        "SetMenuItemEnabled(Prodlouenas60minut1, Yes)", "SetButtonEnabled(Button1, No)",
        "SetLabelText(Label2, \"\")", "SetLabelText(Label4, \"\")", "SetLabelText(Label6, \"\")",
        "SetLabelText(Label8, \"\")", "SetLabelText(Label17, \"\")",
        "SetLabelText(Label10, \"\")" };
    for (int box = 1; box <= 8; ++box)
        tail.push_back("SetChecked(CheckBox" + std::to_string(box) + ", No)");
    ASSERT_GE(Surface.Log.size(), tail.size());
    std::vector<std::string> actualTail(
        Surface.Log.end() - static_cast<long>(tail.size()), Surface.Log.end());
    EXPECT_EQ(actualTail, tail);
}

TEST_F(ControllerTest, ARandomSelectionTakesPositions1To25EachFromATestDrawnAnew)
{
    // Draws made before the selection starts must carry over: the generator is shared.
    Run(&Controller_::Nhodnceltest1Click);
    Surface.ReplyButton(PressedButton::Yes);
    Run(&Controller_::Ukonittest1Click);

    ReferenceGenerator reference;
    reference.Below(32);
    Run(&Controller_::Nhodnvbrotzek251Click);
    EXPECT_EQ(Controller.TestMode(), "obycejnynahodny");
    for (int question = 1; question <= 25; ++question) {
        ASSERT_EQ(Current(), (QuestionRef { reference.Below(32) + 1, question }));
        if (question == 25)
            Surface.ReplyButton(PressedButton::Ok);
        if (question % 3 == 0)
            AnswerWrong();
        else
            AnswerRight();
    }
    EXPECT_TRUE(IsIdleState());
    EXPECT_EQ(Controller.RandomSeed(), reference.Seed); // 1 + 25 draws
    EXPECT_EQ(MessageCount(EndOfTestText), 1);
}

TEST_F(ControllerTest, EachQuestionNamesTheOneConfirmingShowsNextWithoutDrawingIt)
{
    struct Case {
        const char* Name;
        Controller_::Handler Start;
        std::optional<std::string> Typed; // the count of a fully random series
        int Questions;
        int Draws;
    };
    const Case cases[] = {
        { "chosen test", &Controller_::N321Click, std::nullopt, 25, 0 },
        { "random whole test", &Controller_::Nhodnceltest1Click, std::nullopt, 25, 1 },
        { "random selection", &Controller_::Nhodnvbrotzek251Click, std::nullopt, 25, 25 },
        { "fully random series", &Controller_::plnnhodnvbrotzek1Click, "6", 6, 12 },
        { "series of one", &Controller_::plnnhodnvbrotzek1Click, "1", 1, 2 },
    };
    for (const Case& c : cases) {
        ReferenceGenerator reference { Controller.RandomSeed() };
        for (int draw = 0; draw < c.Draws; ++draw)
            reference.Below(1);
        std::size_t namedBefore = Surface.NamedNext.size();
        if (c.Typed)
            Surface.ReplyInput(c.Typed);
        Run(c.Start);
        for (int shown = 1; shown <= c.Questions; ++shown) {
            // One naming for each question shown, given after its picture.
            ASSERT_EQ(Surface.NamedNext.size(), namedBefore + static_cast<std::size_t>(shown))
                << c.Name << " " << shown;
            std::optional<QuestionRef> named = Surface.NamedNext.back();
            if (shown == c.Questions) {
                EXPECT_EQ(named, std::nullopt) << c.Name;
                Surface.ReplyButton(PressedButton::Ok);
                if (c.Typed)
                    Surface.ReplyButton(PressedButton::Ok);
            }
            // A wrong answer's box comes between the naming and the next question.
            if (shown % 4 == 0)
                AnswerWrong();
            else
                AnswerRight();
            if (shown < c.Questions) {
                ASSERT_EQ(named, Current()) << c.Name << " " << shown;
            }
        }
        EXPECT_TRUE(IsIdleState()) << c.Name;
        // Looking ahead drew nothing: exactly the run's own draws were made.
        EXPECT_EQ(Controller.RandomSeed(), reference.Seed) << c.Name;
    }
}

TEST_F(ControllerTest, AFullyRandomSeriesOfFiveFromProgramStart)
{
    Surface.ReplyInput("5");
    Run(&Controller_::plnnhodnvbrotzek1Click);
    ASSERT_EQ(Surface.Boxes.size(), 1u);
    EXPECT_EQ(Surface.Boxes[0].Kind, BoxRecord::Type::Input);
    EXPECT_EQ(Surface.Boxes[0].Caption, "Počet otázek");
    EXPECT_EQ(Surface.Boxes[0].Text, "Zadejte kolik otázek chcete zkoušet:");
    EXPECT_EQ(Surface.Boxes[0].DefaultText, "30");
    EXPECT_EQ(Controller.TestMode(), "nahoda");
    EXPECT_EQ(Controller.RandomQuestionCount(), 5);

    const QuestionRef expected[] = { { 2, 1 }, { 7, 22 }, { 22, 7 }, { 6, 8 }, { 14, 10 } };
    for (int shown = 0; shown < 5; ++shown) {
        ASSERT_EQ(Current(), expected[shown]) << shown;
        EXPECT_EQ(Controller.RandomQuestionIndex(), shown + 1);
        if (shown < 4)
            AnswerRight();
    }
    bool clockStoppedBeforeSeriesEnd = false;
    // The last answer is still scored, and its "spatně" comes first.
    Choose(WrongLetters(Controller.Key(), Current()));
    Surface.ReplyButton(PressedButton::Ok);
    Surface.ReplyButton(
        PressedButton::Ok, [&] { clockStoppedBeforeSeriesEnd = !Surface.TimerRunning; });
    Surface.ReplyButton(PressedButton::Ok);
    Confirm();
    EXPECT_TRUE(clockStoppedBeforeSeriesEnd);
    std::vector<std::string> messages = Surface.MessageTexts();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0], "spatně");
    EXPECT_EQ(messages[1], std::string { SeriesEndPrefix } + "5");
    EXPECT_EQ(messages[2], EndOfTestText);
    EXPECT_EQ(Surface.Boxes[2].Message, MessageKind::Information);
    EXPECT_TRUE(IsIdleState());
    EXPECT_EQ(Controller.RandomQuestionIndex(), 5);
    EXPECT_EQ(Controller.RandomQuestionCount(), 5); // both kept after the end
}

TEST_F(ControllerTest, AFullyRandomSeriesShowsExactlyTheQuestionsAskedFor)
{
    struct Case {
        std::optional<std::string> Typed; // no value: Cancel
        int Questions;
    };
    const Case cases[]
        = { { "1", 1 }, { std::nullopt, 30 }, { "+3", 3 }, { "$2", 2 }, { "  4", 4 } };
    for (const Case& c : cases) {
        Surface.ClearLog();
        ReferenceGenerator reference { Controller.RandomSeed() };
        Surface.ReplyInput(c.Typed);
        Run(&Controller_::plnnhodnvbrotzek1Click);
        for (int shown = 1; shown <= c.Questions; ++shown) {
            int question = reference.Below(25) + 1;
            ASSERT_EQ(Current(), (QuestionRef { reference.Below(32) + 1, question }))
                << c.Questions << "/" << shown;
            if (shown == c.Questions) {
                Surface.ReplyButton(PressedButton::Ok);
                Surface.ReplyButton(PressedButton::Ok);
            }
            AnswerRight();
        }
        EXPECT_TRUE(IsIdleState()) << c.Questions;
        EXPECT_EQ(MessageCount(std::string { SeriesEndPrefix } + std::to_string(c.Questions)), 1);
        EXPECT_EQ(MessageCount(EndOfTestText), 1);
        EXPECT_EQ(Controller.RandomSeed(), reference.Seed);
    }
}

TEST_F(ControllerTest, ACountOfZeroOrBelowRunsUntilTheEarlyEnd)
{
    for (const char* typed : { "0", "-3" }) {
        Surface.ReplyInput(typed);
        Run(&Controller_::plnnhodnvbrotzek1Click);
        for (int shown = 1; shown <= 80; ++shown) {
            ASSERT_TRUE(IsRunningState()) << typed << " " << shown;
            AnswerRight();
        }
        EXPECT_EQ(Controller.RandomQuestionIndex(), 81);
        EXPECT_EQ(MessageCount(EndOfTestText), 0);
        Surface.ReplyButton(PressedButton::Yes);
        Run(&Controller_::Ukonittest1Click);
        EXPECT_TRUE(IsIdleState());
    }
}

TEST_F(ControllerTest, ACountTheConversionRefusesLeavesTheProgramIdle)
{
    // A count of 7 from an earlier series must survive the refused ones.
    Surface.ReplyInput("7");
    Run(&Controller_::plnnhodnvbrotzek1Click);
    Surface.ReplyButton(PressedButton::Yes);
    Run(&Controller_::Ukonittest1Click);

    const char* refused[] = { "abc", "", "5 ", "2147483648", "-2147483649", "0x", "1.5", "5a" };
    for (const char* typed : refused) {
        Surface.ClearLog();
        std::uint32_t seed = Controller.RandomSeed();
        int intervals = Surface.TimerIntervalsStarted;
        bool idleUnderTheBox = false;
        Surface.ReplyInput(typed);
        Surface.ReplyButton(PressedButton::Ok, [&] { idleUnderTheBox = IsIdleState(); });
        Run(&Controller_::plnnhodnvbrotzek1Click);

        ASSERT_EQ(Surface.Boxes.size(), 2u) << typed;
        EXPECT_EQ(Surface.Boxes[1].Kind, BoxRecord::Type::Failure);
        EXPECT_EQ(
            Surface.Boxes[1].Text, "'" + std::string { typed } + "' is not a valid integer value.");
        EXPECT_TRUE(idleUnderTheBox) << typed;
        EXPECT_TRUE(IsIdleState()) << typed;
        EXPECT_EQ(Controller.RandomSeed(), seed) << typed;
        EXPECT_EQ(Controller.RandomQuestionCount(), 7);
        // A new test run starts normally afterwards.
        Run(&Controller_::N21Click);
        EXPECT_EQ(Current(), (QuestionRef { 2, 1 }));
        EXPECT_EQ(Surface.TimerIntervalsStarted, intervals + 2) << typed;
        Surface.ReplyButton(PressedButton::Yes);
        Run(&Controller_::Ukonittest1Click);
    }
}

TEST_F(ControllerTest, TheEarlyEndNeedsAYes)
{
    struct Case {
        PressedButton Answer;
        bool Ends;
    };
    const Case cases[] = { { PressedButton::Yes, true }, { PressedButton::No, false },
        { PressedButton::Cancel, false } };
    for (const Case& c : cases) {
        Run(&Controller_::N91Click);
        AnswerWrong();
        Tick();
        Choose("AC");
        Surface.ClearLog();
        Surface.ReplyButton(c.Answer);
        Run(&Controller_::Ukonittest1Click);

        ASSERT_EQ(Surface.Boxes.size(), 1u);
        EXPECT_EQ(Surface.Boxes[0].Text, "Opravdu ukončit testování?");
        EXPECT_EQ(Surface.Boxes[0].Message, MessageKind::Confirmation);
        EXPECT_EQ(Surface.Boxes[0].Buttons, ButtonSet::YesNo);
        // The ticks of the question on screen stay in both cases.
        EXPECT_TRUE(Surface.IsChecked(CheckBox::CheckBox5));
        EXPECT_TRUE(Surface.IsChecked(CheckBox::CheckBox7));
        if (c.Ends) {
            EXPECT_TRUE(IsIdleState());
            EXPECT_EQ(Surface.Log[1], "StopTimer(Timer1)");
        } else {
            EXPECT_EQ(Surface.Log.size(), 1u); // only the box
            EXPECT_TRUE(IsRunningState());
            EXPECT_EQ(Current(), (QuestionRef { 9, 2 }));
            EXPECT_EQ(Text(Label::Label17), "1");
            Tick();
            EXPECT_EQ(Text(Label::Label17), "2");
            Surface.ReplyButton(PressedButton::Yes);
            Run(&Controller_::Ukonittest1Click);
        }
    }
}

TEST_F(ControllerTest, ConfirmingWithNothingTickedIsRefusedAndChangesNothing)
{
    Run(&Controller_::N41Click);
    AnswerWrong();
    Tick();
    std::map<Label, std::string> before = Surface.Texts;
    Surface.SetChecked(CheckBox::CheckBox2, Checked::Yes); // a "správně" tick does not count
    Surface.ClearLog();
    Confirm();
    ASSERT_EQ(Surface.Boxes.size(), 1u);
    EXPECT_EQ(Surface.Boxes[0].Text, "Nelze nevybrat žádnou odpověď");
    EXPECT_EQ(Surface.Boxes[0].Message, MessageKind::Error);
    EXPECT_EQ(Surface.Boxes[0].Buttons, ButtonSet::Ok);
    EXPECT_EQ(Surface.Log.size(), 1u);
    EXPECT_EQ(Surface.Texts, before);
    EXPECT_TRUE(IsRunningState());

    // Any single "výběr" box is enough to pass the guard, D included.
    Choose("D");
    Surface.ClearLog();
    Surface.DefaultReplier = [](const BoxRecord&) { return BoxReply {}; };
    Confirm();
    EXPECT_EQ(Current(), (QuestionRef { 4, 3 }));
}

TEST_F(ControllerTest, AWrongLastAnswerIsScoredAndShownBeforeTheEnd)
{
    Run(&Controller_::N11Click);
    for (int question = 1; question < 25; ++question)
        AnswerRight();
    std::string errorsUnderSpatne, errorsUnderEnd;
    bool correctTickedUnderEnd = false;
    Choose(WrongLetters(Controller.Key(), Current()));
    Surface.ReplyButton(PressedButton::Ok, [&] { errorsUnderSpatne = Text(Label::Label6); });
    Surface.ReplyButton(PressedButton::Ok, [&] {
        errorsUnderEnd = Text(Label::Label6);
        correctTickedUnderEnd = Surface.IsChecked(CheckBox::CheckBox1)
            || Surface.IsChecked(CheckBox::CheckBox2) || Surface.IsChecked(CheckBox::CheckBox3)
            || Surface.IsChecked(CheckBox::CheckBox4);
    });
    Confirm();
    EXPECT_EQ(errorsUnderSpatne, "3");
    EXPECT_EQ(errorsUnderEnd, "3");
    EXPECT_TRUE(correctTickedUnderEnd);
    EXPECT_EQ(Surface.MessageTexts(),
        (std::vector<std::string> { "spatně", std::string { EndOfTestText } }));
    EXPECT_TRUE(IsIdleState());
    for (const auto& [box, ticked] : Surface.Ticks)
        EXPECT_FALSE(ticked) << static_cast<int>(box);
}

TEST_F(ControllerTest, PointsOfACompleteRunAddUpTo65AndDecideTheVerdict)
{
    struct Case {
        std::vector<int> WrongPositions;
        std::string Verdict;
    };
    // Weights: 1-5 two, 6-8 four, 9-18 three, 19-20 one, 21-24 two, 25 three.
    const Case cases[] = {
        { {}, "ZVLÁDÁTE" },
        { { 6, 7 }, "ZVLÁDÁTE" }, // 8 error points
        { { 19, 6, 20, 9 }, "ZVLÁDÁTE" }, // 9
        { { 1, 6, 7 }, "NEZVLÁDÁTE" }, // 10
        { { 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24,
              25 },
            "NEZVLÁDÁTE" },
    };
    for (const Case& c : cases) {
        Run(&Controller_::N131Click);
        int errors = 0;
        std::string sumUnderEnd;
        for (int question = 1; question <= 25; ++question) {
            bool wrong = std::find(c.WrongPositions.begin(), c.WrongPositions.end(), question)
                != c.WrongPositions.end();
            errors += wrong ? QuestionWeight(question) : 0;
            if (question == 25) {
                Choose(wrong ? WrongLetters(Controller.Key(), Current())
                             : CorrectLetters(Controller.Key(), Current()));
                if (wrong)
                    Surface.ReplyButton(PressedButton::Ok);
                Surface.ReplyButton(PressedButton::Ok, [&] {
                    sumUnderEnd = Text(Label::Label6) + "/" + Text(Label::Label8) + "/"
                        + Text(Label::Label10);
                });
                Confirm();
            } else if (wrong) {
                AnswerWrong();
            } else {
                AnswerRight();
            }
        }
        EXPECT_EQ(sumUnderEnd,
            std::to_string(errors) + "/" + std::to_string(65 - errors) + "/" + c.Verdict);
        EXPECT_TRUE(IsIdleState());
    }
}

TEST_F(ControllerTest, CommandsAfterOtherCommandsDrawFromTheOneSharedGenerator)
{
    // A fixed mixture of commands: each random pick must follow from every draw made before it.
    ReferenceGenerator reference;
    Surface.ReplyInput("2");
    Run(&Controller_::plnnhodnvbrotzek1Click);
    int question = reference.Below(25) + 1;
    EXPECT_EQ(Current(), (QuestionRef { reference.Below(32) + 1, question }));
    AnswerRight();
    question = reference.Below(25) + 1;
    EXPECT_EQ(Current(), (QuestionRef { reference.Below(32) + 1, question }));
    Surface.ReplyButton(PressedButton::Ok);
    Surface.ReplyButton(PressedButton::Ok);
    AnswerRight();

    Run(&Controller_::N171Click); // draws nothing
    AnswerRight();
    Surface.ReplyButton(PressedButton::Yes);
    Run(&Controller_::Ukonittest1Click);

    Run(&Controller_::Nhodnceltest1Click);
    int test = reference.Below(32) + 1;
    EXPECT_EQ(Current(), (QuestionRef { test, 1 }));
    AnswerWrong();
    EXPECT_EQ(Current(), (QuestionRef { test, 2 })); // no draw inside a whole test
    Surface.ReplyButton(PressedButton::No);
    Run(&Controller_::Ukonittest1Click);
    Surface.ReplyButton(PressedButton::Yes);
    Run(&Controller_::Ukonittest1Click);

    Run(&Controller_::Nhodnvbrotzek251Click);
    EXPECT_EQ(Current(), (QuestionRef { reference.Below(32) + 1, 1 }));
    AnswerRight();
    EXPECT_EQ(Current(), (QuestionRef { reference.Below(32) + 1, 2 }));
    EXPECT_EQ(Controller.RandomSeed(), reference.Seed);
}

TEST_F(ControllerTest, AMissingPictureIsReportedOnceAndTheQuestionCanStillBeAnswered)
{
    Controller.RecordStartDirectory(EmptyFolder());
    Surface.ReplyButton(PressedButton::Ok);
    Run(&Controller_::N81Click);
    EXPECT_EQ(
        Surface.MessageTexts(), (std::vector<std::string> { std::string { PictureFailureText } }));
    EXPECT_EQ(Current(), (QuestionRef { 8, 1 }));
    EXPECT_TRUE(IsRunningState());
    EXPECT_EQ(Surface.PicturesShownCount, 0);

    Surface.ReplyButton(PressedButton::Ok); // the next question's picture is missing too
    AnswerRight();
    EXPECT_EQ(Text(Label::Label8), "2");
    EXPECT_EQ(Current(), (QuestionRef { 8, 2 }));
    EXPECT_EQ(MessageCount(PictureFailureText), 2);
}

TEST_F(ControllerTest, EveryQuestionIsLoadedFromTheStartDirectory)
{
    Run(&Controller_::N321Click);
    EXPECT_EQ(Surface.PicturesShownCount, 1);
    for (int question = 1; question < 25; ++question)
        AnswerRight();
    EXPECT_EQ(Surface.PicturesShownCount, 25);
    EXPECT_TRUE(Surface.Boxes.empty());
}

// The results of the record's rows in order: R right, W wrong, U unanswered.
std::string Results(const RunRecord& run)
{
    std::string results;
    for (const auto& question : run.Questions)
        results += question.Result == AnswerResult::Right ? 'R'
            : question.Result == AnswerResult::Wrong      ? 'W'
                                                          : 'U';
    return results;
}

TEST_F(ControllerTest, EveryEndOfARunLeavesTheRecordTheReviewShows)
{
    struct Case {
        const char* Name;
        std::function<void()> Play;
        std::string HeadLine;
        std::string Verdict;
        std::string Results;
        bool ReviewEnabled;
        bool PracticeEnabled;
    };
    auto answers = [this](std::string_view pattern) {
        for (char answer : pattern)
            answer == 'R' ? AnswerRight() : AnswerWrong();
    };
    auto endEarly = [this] {
        Surface.ReplyButton(PressedButton::Yes);
        Run(&Controller_::Ukonittest1Click);
    };
    const Case cases[] = {
        { "whole test",
            [&] {
                Run(&Controller_::N71Click);
                answers("RWRRRRRRRRRRRRRRRRRRRRRRW");
            },
            "Test č. 7 · dokončen · 0 z 30 minut · správně 23 z 25 · chybné body 5, dosažené "
            "body 60",
            "ZVLÁDÁTE", "RWRRRRRRRRRRRRRRRRRRRRRRW", true, true },
        { "early end",
            [&] {
                Run(&Controller_::N31Click);
                answers("RR");
                endEarly();
            },
            "Test č. 3 · ukončen předčasně · 0 z 30 minut · správně 2 z 25 · chybné body 0, "
            "dosažené body 4",
            "ZVLÁDÁTE", "RR" + std::string(23, 'U'), true, false },
        { "time-out",
            [&] {
                Run(&Controller_::Nhodnvbrotzek251Click);
                answers("WWWWWR");
                Surface.ReplyButton(PressedButton::Ok); // "Čas vypršel !!"
                Ticks(30);
            },
            "Náhodný výběr otázek · čas vypršel · 30 z 30 minut · správně 1 z 25 · chybné body "
            "10, dosažené body 4",
            "NESTÍHÁTE", "WWWWWRU", true, true },
        { "series end",
            [&] {
                Surface.ReplyInput("2");
                Run(&Controller_::plnnhodnvbrotzek1Click);
                answers("W");
                Surface.ReplyButton(PressedButton::Ok); // the series' end
                answers("R");
            },
            "", "", "WR", true, true },

        { "nothing confirmed",
            [&] {
                Run(&Controller_::N11Click);
                endEarly();
            },
            "", "", std::string(25, 'U'), false, false },
    };
    for (const auto& c : cases) {
        // One run after another: each must replace the record of the one before.
        SCOPED_TRACE(c.Name);
        c.Play();
        ASSERT_TRUE(IsIdleState());
        const RunRecord& run = Controller.LastRun();
        EXPECT_EQ(Results(run), c.Results);
        if (std::string_view { c.Name } == "series end") {
            // The points depend on the questions drawn; the title and the counts do not.
            EXPECT_EQ(ReviewHeadLine(run).rfind(
                          "Úplně náhodný výběr: 2 otázky · série dokončena · 0 z 30 minut · "
                          "správně 1 z 2 · ",
                          0),
                0u);
        }
        if (!c.HeadLine.empty()) {
            EXPECT_EQ(ReviewHeadLine(run), c.HeadLine);
            EXPECT_EQ(run.Verdict, c.Verdict);
            EXPECT_EQ(run.VerdictColour, c.Verdict == "ZVLÁDÁTE" ? Green : Red);
        }
        EXPECT_EQ(Surface.MenuEnabled.at(MenuItem::Pehledposlednhotestu1), c.ReviewEnabled);
        EXPECT_EQ(Surface.MenuEnabled.at(MenuItem::Procviitchybnotzky1), c.PracticeEnabled);
        std::size_t reviewsBefore = Surface.Reviews.size();
        Run(&Controller_::Pehledposlednhotestu1Click);
        EXPECT_EQ(Surface.Reviews.size() - reviewsBefore, c.ReviewEnabled ? 1u : 0u);
    }
}

TEST_F(ControllerTest, TheMistakesArePractisedInOrderUntilNoneIsLeft)
{
    Run(&Controller_::N71Click);
    for (char answer : std::string_view { "RWRRWRRRWRRRRRRRRRRRRRRRR" })
        answer == 'R' ? AnswerRight() : AnswerWrong();

    // "Procvičit chybné" in the review starts the run of the three mistakes.
    BoxReply practise;
    practise.Choice = ReviewChoice::PractiseMistakes;
    Surface.Script(practise);
    std::vector<QuestionRef> shown;
    Run(&Controller_::Pehledposlednhotestu1Click);
    ASSERT_TRUE(IsRunningState());
    EXPECT_EQ(Controller.TestMode(), ModeMistakes);
    shown.push_back(Current());
    AnswerRight();
    shown.push_back(Current());
    AnswerWrong();
    shown.push_back(Current());
    Surface.ClearLog();
    AnswerRight();
    EXPECT_EQ(shown, (std::vector<QuestionRef> { { 7, 2 }, { 7, 5 }, { 7, 9 } }));
    EXPECT_EQ(Surface.MessageTexts(), std::vector<std::string> { std::string { EndOfTestText } });
    EXPECT_TRUE(IsIdleState());
    EXPECT_EQ(ReviewHeadLine(Controller.LastRun()),
        "Chybné otázky: 3 · dokončen · 0 z 30 minut · správně 2 z 3 · chybné body 2, dosažené "
        "body 5");

    // The one mistake left, then nothing.
    Run(&Controller_::Procviitchybnotzky1Click);
    EXPECT_EQ(Current(), (QuestionRef { 7, 5 }));
    AnswerRight();
    EXPECT_EQ(Results(Controller.LastRun()), "R");
    EXPECT_TRUE(Surface.MenuEnabled.at(MenuItem::Pehledposlednhotestu1));
    EXPECT_FALSE(Surface.MenuEnabled.at(MenuItem::Procviitchybnotzky1));
    Run(&Controller_::Procviitchybnotzky1Click);
    EXPECT_FALSE(Controller.TestRunning());
}

TEST(RunReview, ARowIsReadAsOneSentence)
{
    struct Case {
        AnsweredQuestion Question;
        std::string Sentence;
        std::string Result;
    };
    const Case cases[] = {
        { { { 7, 12 }, 3, { false, true, false, false }, { false, true, false, true },
              AnswerResult::Wrong },
            "Otázka 12 testu 7, 3 body, zaškrtnuto B, správně B a D, špatně", "✗ špatně" },
        { { { 2, 19 }, 1, {}, { true, true, true, false }, AnswerResult::Unanswered },
            "Otázka 19 testu 2, 1 bod, správně A, B a C, nezodpovězeno", "– nezodpovězeno" },
        { { { 30, 7 }, 4, { true, false, true, false }, { true, false, true, false },
              AnswerResult::Right },
            "Otázka 7 testu 30, 4 body, zaškrtnuto A a C, správně A a C, správně", "✓ správně" },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(QuestionSentence(c.Question), c.Sentence);
        EXPECT_EQ(ResultText(c.Question.Result), c.Result);
    }
}

} // namespace
} // namespace brzdomat::testing
