#include "tests/controller_fixture.h"

#include "testrun/run_review.h"
#include "testrun/text_to_int.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace brzdomat::testing {
namespace {

using Controller_ = ExamController;

class Clock : public ControllerTest {
protected:
    // Every box opened by the time-out itself is closed with OK.
    Clock()
    {
        Surface.DefaultReplier = [](const BoxRecord&) { return BoxReply {}; };
    }

    // What the nested event loop of an open box does for the rest of the half hour.
    std::function<void()> TimeOutWhileOpen()
    {
        return [this] {
            while (Surface.TimerRunning)
                Tick();
        };
    }

    std::function<void()> TicksWhileOpen(int count)
    {
        return [this, count] { Ticks(count); };
    }

    // The steps that only the time-out took: its two messages and the idle state after them.
    void ExpectOneTimeOutAndNothingAfterIt(const std::string& which)
    {
        EXPECT_TRUE(IsIdleState()) << which;
        EXPECT_EQ(MessageCount("Čas vypršel !!"), 1) << which;
        EXPECT_EQ(MessageCount(EndOfTestText), 1) << which;
        for (const BoxRecord& box : Surface.Boxes) {
            EXPECT_NE(box.Kind, BoxRecord::Type::Failure) << which << ": " << box.Text;
            EXPECT_NE(box.Text.rfind(SeriesEndPrefix, 0), 0u) << which;
        }
        // The interrupted command did nothing after its box: the log ends with the end of the
        // test run, and the last box is the end-of-test message.
        ASSERT_FALSE(Surface.Log.empty());
        EXPECT_EQ(Surface.Log.back(), "SetChecked(CheckBox8, No)") << which;
        EXPECT_EQ(Surface.Boxes.back().Text, EndOfTestText) << which;
    }
};

TEST_F(Clock, Tick29ShowsTheMinutesAndTick30EndsTheRunWithTheTimeOut)
{
    Run(&Controller_::N21Click);
    AnswerRight();
    AnswerWrong();
    Surface.ClearLog();
    for (int minute = 1; minute <= 29; ++minute) {
        Tick();
        ASSERT_EQ(Text(Label::Label17), std::to_string(minute));
    }
    EXPECT_TRUE(IsRunningState());
    EXPECT_TRUE(Surface.Boxes.empty());
    EXPECT_EQ(Surface.Log.size(), 29u); // one label text a tick, nothing else

    std::vector<std::string> underTimeOut, underEnd;
    auto screen = [this] {
        return Text(Label::Label17) + "|" + Text(Label::Label10) + "|" + Text(Label::Label6) + "|"
            + Text(Label::Label8) + "|" + Text(Label::Label4)
            + (Surface.Colours.at(Label::Label10) == Red ? "|red" : "|not red")
            + (Surface.TimerRunning ? "|ticking" : "|stopped");
    };
    Surface.ReplyButton(PressedButton::Ok, [&] {
        underTimeOut.push_back(screen());
        Tick(); // a tick cannot come now; one that does must change nothing
        underTimeOut.push_back(screen());
    });
    Surface.ReplyButton(PressedButton::Ok, [&] { underEnd.push_back(screen()); });
    Surface.ClearLog();
    Tick();

    const std::string expected = "30|NESTÍHÁTE|2|2|3|red|stopped";
    EXPECT_EQ(underTimeOut, (std::vector<std::string> { expected, expected }));
    EXPECT_EQ(underEnd, (std::vector<std::string> { expected }));
    ASSERT_GE(Surface.Log.size(), 5u);
    EXPECT_EQ(Surface.Log[0], "SetLabelText(Label17, \"30\")");
    EXPECT_EQ(Surface.Log[1], "StopTimer(Timer1)");
    EXPECT_EQ(Surface.Log[2], "SetLabelColour(Label10, 255,0,0)");
    EXPECT_EQ(Surface.Log[3], "SetLabelText(Label10, \"NESTÍHÁTE\")");
    EXPECT_EQ(Surface.Log[4], "MessageBox(\"Čas vypršel !!\", Error, Ok)");
    EXPECT_EQ(Surface.MessageTexts(),
        (std::vector<std::string> { "Čas vypršel !!", std::string { EndOfTestText } }));
    EXPECT_TRUE(IsIdleState());
    EXPECT_EQ(Surface.UnscriptedBoxes, 0);
}

TEST_F(Clock, TheLongerLimitTicked60MinutesUntickedTheUsual30)
{
    struct Case {
        int Choices; // of "Prodloužený čas (60 minut)" before the run
        int Limit;
    };
    for (const Case c : { Case { 1, 60 }, Case { 2, 30 }, Case { 0, 30 } }) {
        SCOPED_TRACE(c.Choices);
        bool ticked = false;
        for (int choice = 0; choice < c.Choices; ++choice) {
            Run(&Controller_::Prodlouenas60minut1Click);
            ticked = !ticked;
            ASSERT_EQ(Surface.MenuChecked.at(MenuItem::Prodlouenas60minut1), ticked);
        }
        Run(&Controller_::N41Click);
        // Chosen while a run goes on, which the disabled item prevents, it changes nothing.
        Run(&Controller_::Prodlouenas60minut1Click);
        EXPECT_EQ(Surface.MenuChecked.at(MenuItem::Prodlouenas60minut1), ticked);
        Ticks(c.Limit - 1);
        ASSERT_TRUE(IsRunningState());
        EXPECT_EQ(Text(Label::Label17), std::to_string(c.Limit - 1));
        Surface.ClearLog();
        Surface.ReplyButton(PressedButton::Ok);
        Surface.ReplyButton(PressedButton::Ok);
        Tick();
        EXPECT_EQ(Surface.MessageTexts(),
            (std::vector<std::string> { "Čas vypršel !!", std::string { EndOfTestText } }));
        EXPECT_TRUE(IsIdleState());
        std::string minutes = std::to_string(c.Limit);
        EXPECT_NE(ReviewHeadLine(Controller.LastRun()).find(minutes + " z " + minutes + " minut"),
            std::string::npos);
        // Back to unticked for the next case.
        if (ticked)
            Run(&Controller_::Prodlouenas60minut1Click);
    }
}

TEST_F(Clock, TheTimeOutReplacesEitherVerdict)
{
    struct Case {
        int WrongAnswers; // at positions 1, 2, ... with two points each
        std::string VerdictBefore;
    };
    for (const Case& c :
        { Case { 0, "ZVLÁDÁTE" }, Case { 4, "ZVLÁDÁTE" }, Case { 5, "NEZVLÁDÁTE" } }) {
        Run(&Controller_::N31Click);
        for (int wrong = 0; wrong < c.WrongAnswers; ++wrong)
            AnswerWrong();
        Ticks(29);
        ASSERT_EQ(Text(Label::Label10), c.VerdictBefore);
        std::string verdictUnderTimeOut;
        Surface.ReplyButton(PressedButton::Ok, [&] {
            verdictUnderTimeOut = Text(Label::Label10)
                + (Surface.Colours.at(Label::Label10) == Red ? " red" : " other");
        });
        Tick();
        EXPECT_EQ(verdictUnderTimeOut, "NESTÍHÁTE red") << c.WrongAnswers;
        EXPECT_TRUE(IsIdleState());
    }
}

TEST_F(Clock, EveryEndOfATestRunStopsTheClockForGood)
{
    struct Case {
        std::string Name;
        std::function<void()> Play;
    };
    const Case cases[] = {
        { "last question",
            [this] {
                Run(&Controller_::N11Click);
                for (int question = 1; question <= 25; ++question)
                    AnswerRight();
            } },
        { "early end",
            [this] {
                Run(&Controller_::Nhodnvbrotzek251Click);
                Tick();
                Surface.ReplyButton(PressedButton::Yes);
                Run(&Controller_::Ukonittest1Click);
            } },
        { "end of a series",
            [this] {
                Surface.ReplyInput("2");
                Run(&Controller_::plnnhodnvbrotzek1Click);
                AnswerRight();
                AnswerRight();
            } },
        { "time-out",
            [this] {
                Run(&Controller_::Nhodnceltest1Click);
                Ticks(30);
            } },
        { "refused count",
            [this] {
                Surface.ReplyInput("x");
                Run(&Controller_::plnnhodnvbrotzek1Click);
            } },
    };
    for (const Case& c : cases) {
        c.Play();
        ASSERT_TRUE(IsIdleState()) << c.Name;
        // Should a tick still arrive, it finds nothing to count and reports nothing.
        Surface.ClearLog();
        Tick();
        EXPECT_TRUE(Surface.Log.empty()) << c.Name;
        EXPECT_TRUE(Surface.Boxes.empty()) << c.Name;
    }
}

TEST_F(Clock, ANewRunStartsWithAFullFirstMinute)
{
    Run(&Controller_::N61Click);
    Ticks(17);
    Surface.ReplyButton(PressedButton::Yes);
    Run(&Controller_::Ukonittest1Click);
    EXPECT_EQ(Surface.TimerIntervalsStarted, 1);

    Run(&Controller_::N71Click);
    EXPECT_EQ(Surface.TimerIntervalsStarted, 2); // a fresh interval, not the old one resumed
    EXPECT_EQ(Text(Label::Label17), "0");
    Tick();
    EXPECT_EQ(Text(Label::Label17), "1");
    Ticks(28);
    EXPECT_TRUE(IsRunningState());
}

TEST_F(Clock, TheMinutesCountOnWhileABoxIsOpen)
{
    struct Case {
        std::string Name;
        std::function<void(std::function<void()>)> Play; // the callback runs inside the box
        std::string MinutesAfter;
    };
    const Case cases[] = {
        { "spatně",
            [this](std::function<void()> inside) {
                Run(&Controller_::N11Click);
                Choose(WrongLetters(Controller.Key(), Current()));
                Surface.ReplyButton(PressedButton::Ok, inside);
                Confirm();
                EXPECT_EQ(Current(), (QuestionRef { 1, 2 }));
            },
            "3" },
        { "count input",
            [this](std::function<void()> inside) {
                Surface.ReplyInput("4", inside);
                Run(&Controller_::plnnhodnvbrotzek1Click);
                EXPECT_EQ(Controller.RandomQuestionCount(), 4);
            },
            "3" },
        { "early end answered No",
            [this](std::function<void()> inside) {
                Run(&Controller_::N11Click);
                Surface.ReplyButton(PressedButton::No, inside);
                Run(&Controller_::Ukonittest1Click);
            },
            "3" },
        { "nothing ticked",
            [this](std::function<void()> inside) {
                Run(&Controller_::N11Click);
                Surface.ReplyButton(PressedButton::Ok, inside);
                Confirm();
            },
            "3" },
        { "picture failure",
            [this](std::function<void()> inside) {
                Controller.RecordStartDirectory(EmptyFolder());
                Surface.ReplyButton(PressedButton::Ok, inside);
                Run(&Controller_::N11Click);
                Controller.RecordStartDirectory(PictureFolder());
            },
            "3" },
        { "About window",
            [this](std::function<void()> inside) {
                Run(&Controller_::N11Click);
                Surface.ReplyButton(PressedButton::Ok, inside);
                Run(&Controller_::About1Click);
            },
            "3" },
    };
    for (const Case& c : cases) {
        std::vector<std::string> seen;
        c.Play([&] {
            for (int minute = 0; minute < 3; ++minute) {
                Tick();
                seen.push_back(Text(Label::Label17));
            }
        });
        EXPECT_EQ(seen, (std::vector<std::string> { "1", "2", "3" })) << c.Name;
        EXPECT_EQ(Text(Label::Label17), c.MinutesAfter) << c.Name;
        EXPECT_TRUE(IsRunningState()) << c.Name;
        Surface.ReplyButton(PressedButton::Yes);
        Run(&Controller_::Ukonittest1Click);
        ASSERT_TRUE(IsIdleState()) << c.Name;
    }
}

TEST_F(Clock, ATimeOutInsideABoxStopsTheCommandThatOpenedIt)
{
    struct Case {
        std::string Name;
        std::function<void()> Play;
    };
    const Case cases[] = {
        { "count input with a valid count",
            [this] {
                Surface.ReplyInput("5", TimeOutWhileOpen());
                Run(&Controller_::plnnhodnvbrotzek1Click);
            } },
        { "count input with a refused count",
            [this] {
                Surface.ReplyInput("abc", TimeOutWhileOpen());
                Run(&Controller_::plnnhodnvbrotzek1Click);
            } },
        { "count input cancelled",
            [this] {
                Surface.ReplyInput(std::nullopt, TimeOutWhileOpen());
                Run(&Controller_::plnnhodnvbrotzek1Click);
            } },
        { "spatně in the middle of a test",
            [this] {
                Run(&Controller_::N11Click);
                AnswerRight();
                Choose(WrongLetters(Controller.Key(), Current()));
                Surface.ReplyButton(PressedButton::Ok, TimeOutWhileOpen());
                Confirm();
            } },
        { "spatně on the last question",
            [this] {
                Run(&Controller_::N11Click);
                for (int question = 1; question < 25; ++question)
                    AnswerRight();
                Choose(WrongLetters(Controller.Key(), Current()));
                Surface.ReplyButton(PressedButton::Ok, TimeOutWhileOpen());
                Confirm();
            } },
        { "spatně on the last question of a series",
            [this] {
                Surface.ReplyInput("1");
                Run(&Controller_::plnnhodnvbrotzek1Click);
                Choose(WrongLetters(Controller.Key(), Current()));
                Surface.ReplyButton(PressedButton::Ok, TimeOutWhileOpen());
                Confirm();
            } },
        { "picture failure of the first question",
            [this] {
                Controller.RecordStartDirectory(EmptyFolder());
                Surface.ReplyButton(PressedButton::Ok, TimeOutWhileOpen());
                Run(&Controller_::Nhodnvbrotzek251Click);
            } },
        { "picture failure of a later question",
            [this] {
                Run(&Controller_::N11Click);
                Controller.RecordStartDirectory(EmptyFolder());
                Choose(CorrectLetters(Controller.Key(), Current()));
                Surface.ReplyButton(PressedButton::Ok, TimeOutWhileOpen());
                Confirm();
            } },
        { "early end answered Yes",
            [this] {
                Run(&Controller_::N11Click);
                Surface.ReplyButton(PressedButton::Yes, TimeOutWhileOpen());
                Run(&Controller_::Ukonittest1Click);
            } },
        { "early end answered No",
            [this] {
                Run(&Controller_::N11Click);
                Surface.ReplyButton(PressedButton::No, TimeOutWhileOpen());
                Run(&Controller_::Ukonittest1Click);
            } },
        { "nothing ticked",
            [this] {
                Run(&Controller_::N11Click);
                Surface.ReplyButton(PressedButton::Ok, TimeOutWhileOpen());
                Confirm();
            } },
    };
    // Where boxes reply later, as in a page, the command that waits for one leaves as well.
    for (const Case& c : cases)
        for (bool later : { false, true }) {
            Surface.BoxesReplyLater = later;
            SCOPED_TRACE(later ? "boxes reply later" : "boxes reply at once");
            Controller.RecordStartDirectory(PictureFolder());
            Surface.ClearLog();
            std::uint32_t seedBefore = 0;
            // The seed is noted when the time-out falls: nothing may draw after it.
            Surface.DefaultReplier = [&](const BoxRecord& box) {
                if (box.Text == "Čas vypršel !!")
                    seedBefore = Controller.RandomSeed();
                return BoxReply {};
            };
            c.Play();
            ExpectOneTimeOutAndNothingAfterIt(c.Name);
            EXPECT_EQ(Controller.RandomSeed(), seedBefore) << c.Name;

            // The program works on normally afterwards.
            Run(&Controller_::N11Click);
            EXPECT_TRUE(IsRunningState()) << c.Name;
            EXPECT_EQ(Text(Label::Label17), "0");
            Surface.ReplyButton(PressedButton::Yes);
            Run(&Controller_::Ukonittest1Click);
            EXPECT_TRUE(IsIdleState()) << c.Name;
            EXPECT_EQ(Surface.OpenBoxes, 0) << c.Name;
        }
}

} // namespace
} // namespace brzdomat::testing
