// Plays many random sequences of events on the controller, as a user and the clock could deliver
// them: commands whose control is enabled, ticks of a running clock, ticks inside open boxes,
// every kind of reply to every box, and random ticks in the answer boxes. After every event the
// visible state must be one of the two consistent states, and every question shown must be the
// one that an independent copy of the generator predicts.

#include "tests/controller_fixture.h"

#include "testrun/scoring.h"
#include "testrun/text_to_int.h"

#include <gtest/gtest.h>

#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <string>

namespace brzdomat::testing {
namespace {

// The recording surface with two watch points for question changes.
class WatchedSurface : public RecordingSurface {
public:
    std::function<void(Label, std::string_view)> BeforeLabelText;
    std::function<void()> BeforePicture;

    void SetLabelText(Label label, std::string_view text) override
    {
        if (BeforeLabelText)
            BeforeLabelText(label, text);
        RecordingSurface::SetLabelText(label, text);
    }
    void ShowPicture(Picture picture, std::shared_ptr<const RgbImage> image) override
    {
        if (BeforePicture)
            BeforePicture();
        RecordingSurface::ShowPicture(picture, std::move(image));
    }
};

enum class Command { None, Chosen, RandomWhole, Selection, FullyRandom, Confirm, Other };

struct Totals {
    long Sequences = 0;
    long Events = 0;
    long Commands = 0;
    long Ticks = 0;
    long TicksInsideBoxes = 0;
    long Boxes = 0;
    long QuestionsShown = 0;
    long CompleteRuns = 0;
    long SeriesEnds = 0;
    long TimeOuts = 0;
    long TimeOutsInsideBoxes = 0;
    long RefusedCounts = 0;
};

class RandomSequences : public ::testing::TestWithParam<unsigned> {
protected:
    void PlaySequence(std::mt19937& random, int events);

    Totals Sum;
};

// The replies a user can type into the count box; no value stands for Cancel.
const std::optional<std::string> CountReplies[] = { "1", "2", "3", "5", "25", "0", "-3", "$2", " 4",
    "abc", "", "5 ", "2147483648", std::nullopt };

void RandomSequences::PlaySequence(std::mt19937& random, int eventCount)
{
    auto chance
        = [&](int percent) { return std::uniform_int_distribution<int>(0, 99)(random) < percent; };
    auto pick
        = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };

    WatchedSurface surface;
    ExamController controller { surface };
    ReferenceGenerator reference;
    Command command = Command::None;
    int chosenTest = 0;
    QuestionRef shown {};
    int evaluatedWeight = 0;
    int seriesShown = 0;
    bool anyRunStarted = false;
    bool lastCountRefused = false;
    bool insideBox = false;
    std::string where;

    auto run = [&](auto&& handler) { RunHandler(surface, handler); };
    auto tick = [&] {
        ++Sum.Ticks;
        if (insideBox)
            ++Sum.TicksInsideBoxes;
        run([&] { controller.Timer1Timer(); });
    };

    // A question may appear only in a running test run, and only the predicted one.
    surface.BeforeLabelText = [&](Label label, std::string_view text) {
        if ((label == Label::Label2 || label == Label::Label4) && !text.empty()) {
            ASSERT_TRUE(controller.TestRunning()) << where;
        }
        if (label != Label::Label4 || text.empty())
            return;
        QuestionRef now { TextToInt(surface.LabelText(Label::Label2)), TextToInt(text) };
        QuestionRef expected {};
        std::string_view mode = controller.TestMode();
        if (command == Command::Chosen) {
            expected = { chosenTest, 1 };
        } else if (command == Command::RandomWhole || command == Command::Selection) {
            expected = { reference.Below(TestCount) + 1, 1 };
        } else if (command == Command::Confirm && mode == ModeWholeTest) {
            expected = { shown.Test, shown.Question + 1 };
        } else if (command == Command::Confirm && mode == ModeRandomSelection) {
            expected = { reference.Below(TestCount) + 1, shown.Question + 1 };
        } else if ((command == Command::Confirm || command == Command::FullyRandom)
            && mode == ModeFullyRandom) {
            int question = reference.Below(QuestionsPerTest) + 1;
            expected = { reference.Below(TestCount) + 1, question };
            ++seriesShown;
        } else {
            FAIL() << "a question appeared during another command: " << where;
        }
        ASSERT_EQ(now, expected) << where;
        if (command == Command::Confirm)
            evaluatedWeight += QuestionWeight(shown.Question);
        shown = now;
        ++Sum.QuestionsShown;
    };
    surface.BeforePicture = [&] { ASSERT_TRUE(controller.TestRunning()) << where; };

    surface.DefaultReplier = [&](const BoxRecord& box) {
        ++Sum.Boxes;
        std::string_view mode = controller.TestMode();
        if (box.Text == EndOfTestText) {
            EXPECT_FALSE(surface.TimerRunning) << where;
            bool timedOut = surface.LabelText(Label::Label10) == "NESTÍHÁTE";
            if (!timedOut && (mode == ModeWholeTest || mode == ModeRandomSelection)) {
                EXPECT_EQ(surface.LabelText(Label::Label4), "25") << where;
                EXPECT_EQ(TextToInt(surface.LabelText(Label::Label6))
                        + TextToInt(surface.LabelText(Label::Label8)),
                    65)
                    << where;
                ++Sum.CompleteRuns;
            }
        } else if (box.Text.rfind(SeriesEndPrefix, 0) == 0) {
            EXPECT_EQ(mode, ModeFullyRandom) << where;
            EXPECT_FALSE(surface.TimerRunning) << where;
            EXPECT_GE(controller.RandomQuestionCount(), 1) << where;
            EXPECT_EQ(box.Text,
                std::string { SeriesEndPrefix } + IntToText(controller.RandomQuestionCount()));
            EXPECT_EQ(seriesShown, controller.RandomQuestionCount()) << where;
            ++Sum.SeriesEnds;
        } else if (box.Text == "Čas vypršel !!") {
            EXPECT_EQ(surface.LabelText(Label::Label17), "30") << where;
            EXPECT_FALSE(surface.TimerRunning) << where;
            ++Sum.TimeOuts;
            if (insideBox)
                ++Sum.TimeOutsInsideBoxes;
        } else if (box.Kind == BoxRecord::Type::Failure) {
            // The only failure a user can cause is a count the conversion refuses, and it
            // leaves no test run behind.
            EXPECT_TRUE(lastCountRefused) << where << ": " << box.Text;
            EXPECT_FALSE(controller.TestRunning()) << where;
            EXPECT_FALSE(surface.TimerRunning) << where;
            ++Sum.RefusedCounts;
        }

        BoxReply reply;
        if (box.Kind == BoxRecord::Type::Input) {
            reply.Typed = CountReplies[pick(0, std::size(CountReplies) - 1)];
            std::string text = reply.Typed.value_or(box.DefaultText);
            try {
                TextToInt(text);
                lastCountRefused = false;
            } catch (const ConvertError&) {
                lastCountRefused = true;
            }
        } else if (box.Buttons == ButtonSet::YesNo) {
            const PressedButton buttons[] { PressedButton::Yes, PressedButton::No,
                PressedButton::Cancel };
            reply.Button = buttons[pick(0, 2)];
        } else {
            reply.Button = chance(85) ? PressedButton::Ok : PressedButton::Cancel;
        }
        // The nested event loop of the box delivers ticks while the clock runs.
        if (surface.TimerRunning && chance(20)) {
            int ticks = chance(15) ? 30 : pick(1, 2);
            reply.WhileOpen = [&, ticks] {
                bool wasInside = insideBox;
                insideBox = true;
                for (int count = 0; count < ticks && surface.TimerRunning; ++count)
                    tick();
                insideBox = wasInside;
            };
        }
        return reply;
    };

    auto checkState = [&] {
        bool running = controller.TestRunning();
        const auto& menus = surface.MenuEnabled;
        for (MenuItem item : { MenuItem::Vybratsitest1, MenuItem::Nhodnceltest1,
                 MenuItem::Nhodnvbrotzek251, MenuItem::plnnhodnvbrotzek1 })
            ASSERT_EQ(menus.at(item), !running) << where;
        ASSERT_EQ(menus.at(MenuItem::Ukonittest1), running) << where;
        ASSERT_EQ(surface.ButtonEnabled, running) << where;
        ASSERT_EQ(surface.TimerRunning, running) << where;
        if (anyRunStarted) {
            ASSERT_EQ(surface.PictureVisible, running) << where;
        }
        if (!running) {
            for (Label label : { Label::Label2, Label::Label4, Label::Label6, Label::Label8,
                     Label::Label17, Label::Label10 })
                ASSERT_EQ(surface.LabelText(label), "") << where;
            return;
        }
        for (Label label :
            { Label::Label2, Label::Label4, Label::Label6, Label::Label8, Label::Label17 }) {
            std::string text = surface.LabelText(label);
            ASSERT_EQ(IntToText(TextToInt(text)), text) << where;
        }
        ASSERT_EQ(QuestionRef({ TextToInt(surface.LabelText(Label::Label2)),
                      TextToInt(surface.LabelText(Label::Label4)) }),
            shown)
            << where;
        int minutes = TextToInt(surface.LabelText(Label::Label17));
        ASSERT_TRUE(minutes >= 0 && minutes < 30) << where;
        int errors = TextToInt(surface.LabelText(Label::Label6));
        ASSERT_EQ(errors + TextToInt(surface.LabelText(Label::Label8)), evaluatedWeight) << where;
        bool failing = errors > 9;
        ASSERT_EQ(surface.LabelText(Label::Label10), failing ? "NEZVLÁDÁTE" : "ZVLÁDÁTE") << where;
        ASSERT_EQ(surface.Colours.at(Label::Label10), failing ? Red : Green) << where;
    };

    ++Sum.Sequences;
    controller.FormCreate();
    run([&] { controller.FormActivate(); });
    controller.RecordStartDirectory(chance(20) ? EmptyFolder() : PictureFolder());

    for (int event = 0; event < eventCount; ++event) {
        ++Sum.Events;
        surface.ClearLog();
        where = "sequence " + std::to_string(Sum.Sequences) + " event " + std::to_string(event);
        bool running = controller.TestRunning();
        int roll = pick(0, 99);
        command = Command::Other;
        if (!running && roll < 70) {
            ++Sum.Commands;
            anyRunStarted = true;
            evaluatedWeight = 0;
            seriesShown = 0;
            switch (pick(0, 3)) {
            case 0:
                command = Command::Chosen;
                chosenTest = pick(1, TestCount);
                where += " chosen test " + std::to_string(chosenTest);
                run([&] { (controller.*ExamController::ChosenTestHandlers[chosenTest - 1])(); });
                break;
            case 1:
                command = Command::RandomWhole;
                where += " random whole test";
                run([&] { controller.Nhodnceltest1Click(); });
                break;
            case 2:
                command = Command::Selection;
                where += " random selection";
                run([&] { controller.Nhodnvbrotzek251Click(); });
                break;
            default:
                command = Command::FullyRandom;
                where += " fully random";
                run([&] { controller.plnnhodnvbrotzek1Click(); });
                break;
            }
        } else if (running && roll < 75) {
            ++Sum.Commands;
            command = Command::Confirm;
            where += " confirm";
            int choice = pick(0, 9);
            const char* anyLetters[] { "A", "B", "AB", "CD", "ABCD", "BD", "C", "D" };
            std::string letters = choice == 0 ? std::string {}
                : choice < 6                  ? CorrectLetters(controller.Key(), shown)
                                              : std::string { anyLetters[pick(0, 7)] };
            for (Option option : AllOptions)
                surface.SetChecked(ChoiceBox(option),
                    letters.find(static_cast<char>('A' + static_cast<int>(option)))
                            != std::string::npos
                        ? Checked::Yes
                        : Checked::No);
            run([&] { controller.Button1Click(); });
        } else if (running && roll < 78) {
            ++Sum.Commands;
            where += " early end";
            run([&] { controller.Ukonittest1Click(); });
        } else if (running && roll < 92) {
            where += " tick";
            int ticks = chance(10) ? pick(5, 30) : 1;
            for (int count = 0; count < ticks && surface.TimerRunning; ++count)
                tick();
        } else if (roll < 96) {
            ++Sum.Commands;
            where += " window";
            run([&] {
                if (chance(50))
                    controller.About1Click();
                else
                    controller.Oprogramu1Click();
            });
        } else {
            // The user clicks answer boxes; this alone changes nothing else.
            where += " ticks in the answer boxes";
            surface.SetChecked(ChoiceBox(static_cast<Option>(pick(0, 3))),
                chance(50) ? Checked::Yes : Checked::No);
        }
        checkState();
        ASSERT_EQ(controller.RandomSeed(), reference.Seed) << where;
        if (::testing::Test::HasFatalFailure() || ::testing::Test::HasNonfatalFailure())
            return;
    }
}

TEST_P(RandomSequences, KeepTheWindowConsistentAfterEveryEvent)
{
    std::mt19937 random { GetParam() };
    const int sequences = 500;
    for (int sequence = 0; sequence < sequences; ++sequence) {
        PlaySequence(random, std::uniform_int_distribution<int>(20, 200)(random));
        if (HasFailure())
            break;
    }
    // The figures show in the test's output, so that a run can say what it played.
    std::cout << "played " << Sum.Sequences << " sequences, " << Sum.Events << " events ("
              << Sum.Commands << " commands, " << Sum.Ticks << " ticks of which "
              << Sum.TicksInsideBoxes << " inside boxes, " << Sum.Boxes << " boxes answered), "
              << Sum.QuestionsShown << " questions, " << Sum.CompleteRuns
              << " complete 25-question runs, " << Sum.SeriesEnds << " series ends, "
              << Sum.TimeOuts << " time-outs of which " << Sum.TimeOutsInsideBoxes
              << " inside boxes, " << Sum.RefusedCounts << " refused counts\n";
    EXPECT_GT(Sum.CompleteRuns, 0);
    EXPECT_GT(Sum.SeriesEnds, 0);
    EXPECT_GT(Sum.TimeOutsInsideBoxes, 0);
    EXPECT_GT(Sum.RefusedCounts, 0);
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomSequences, ::testing::Values(1u, 2u, 3u, 4u));

} // namespace
} // namespace brzdomat::testing
