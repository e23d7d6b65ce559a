#include "bank/answer_key.h"
#include "testrun/scoring.h"
#include "tests/testsupport/recording_surface.h"
#include "ui/error_path.h"

#include <gtest/gtest.h>

#include <numeric>
#include <set>
#include <stdexcept>
#include <string>

namespace brzdomat {
namespace {

using testing::RecordingSurface;

class Scoring : public ::testing::Test {
protected:
    Scoring() { LoadAnswerKey(Key); }

    // A running test at (test, question) with the given counters and a green verdict.
    void Place(int test, int question, int errorPoints = 0, int achievedPoints = 0)
    {
        Surface.SetLabelText(Label::Label2, std::to_string(test));
        Surface.SetLabelText(Label::Label4, std::to_string(question));
        Surface.SetLabelText(Label::Label6, std::to_string(errorPoints));
        Surface.SetLabelText(Label::Label8, std::to_string(achievedPoints));
        Surface.SetLabelColour(Label::Label10, Green);
        Surface.SetLabelText(Label::Label10, "ZVLÁDÁTE");
        for (int box = 0; box < 8; ++box)
            Surface.SetChecked(static_cast<CheckBox>(box), Checked::No);
        Surface.ClearLog();
    }

    void Tick(std::string_view letters)
    {
        for (char letter : letters)
            Surface.SetChecked(ChoiceBox(static_cast<Option>(letter - 'A')), Checked::Yes);
    }

    // What the controller does with a confirmed answer, minus the move to the next question.
    void Confirm()
    {
        if (IsAnswerCorrect(Surface, Key)) {
            AddPoints(Surface, Outcome::Right);
        } else {
            AddPoints(Surface, Outcome::Wrong);
            RevealCorrectAnswers(Surface, Key).Get();
        }
    }

    std::string Text(Label label) const { return Surface.LabelText(label); }

    AnswerKey Key;
    RecordingSurface Surface;
};

TEST_F(Scoring, WeightsOfEveryPositionSumTo65)
{
    const int expected[]
        = { 2, 2, 2, 2, 2, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 1, 1, 2, 2, 2, 2, 3 };
    int sum = 0;
    for (int position = 1; position <= 25; ++position) {
        EXPECT_EQ(QuestionWeight(position), expected[position - 1]) << position;
        sum += QuestionWeight(position);
    }
    EXPECT_EQ(sum, 65);
    EXPECT_THROW(QuestionWeight(0), std::out_of_range);
    EXPECT_THROW(QuestionWeight(26), std::out_of_range);
}

TEST_F(Scoring, JudgesOnlyAnExactMatchOfTheTicks)
{
    struct Case {
        int Test, Question;
        std::string Ticked;
        bool Right;
    };
    const Case cases[] = {
        { 1, 1, "A", true }, // A alone is correct
        { 1, 1, "AB", false },
        { 1, 1, "B", false },
        { 1, 1, "", false },
        { 1, 2, "B", true }, // B alone
        { 1, 2, "AB", false },
        { 1, 9, "ABCD", true }, // all four
        { 1, 9, "ABC", false },
        { 1, 6, "CD", true },
        { 1, 6, "C", false },
        { 1, 6, "BCD", false },
        { 32, 25, "B", true },
        { 32, 25, "D", false },
    };
    for (const Case& c : cases) {
        Place(c.Test, c.Question);
        Tick(c.Ticked);
        EXPECT_EQ(IsAnswerCorrect(Surface, Key), c.Right)
            << c.Test << "/" << c.Question << " " << c.Ticked;
    }
}

TEST_F(Scoring, ARightAnswerAddsItsWeightSilently)
{
    Place(1, 19, 0, 10); // question 19 of test 1: ABCD
    Tick("ABCD");
    Confirm();
    EXPECT_EQ(Text(Label::Label8), "11");
    EXPECT_EQ(Text(Label::Label6), "0");
    EXPECT_TRUE(Surface.Boxes.empty());
    for (Option option : AllOptions)
        EXPECT_FALSE(Surface.IsChecked(CorrectBox(option)));
}

TEST_F(Scoring, AWrongAnswerCostsItsWeightTicksTheKeyAndSaysSpatneLast)
{
    Place(1, 2, 0, 0); // B alone is correct; weight 2
    Tick("AB");
    bool sawFinalCounts = false;
    Surface.ReplyButton(PressedButton::Ok, [&] {
        sawFinalCounts = Text(Label::Label6) == "2" && Surface.IsChecked(CheckBox::CheckBox2);
    });
    Confirm();
    EXPECT_TRUE(sawFinalCounts);
    EXPECT_EQ(Text(Label::Label6), "2");
    EXPECT_EQ(Text(Label::Label8), "0");
    EXPECT_FALSE(Surface.IsChecked(CheckBox::CheckBox1));
    EXPECT_TRUE(Surface.IsChecked(CheckBox::CheckBox2));
    EXPECT_FALSE(Surface.IsChecked(CheckBox::CheckBox3));
    EXPECT_FALSE(Surface.IsChecked(CheckBox::CheckBox4));
    EXPECT_TRUE(Surface.IsChecked(CheckBox::CheckBox5));
    EXPECT_TRUE(Surface.IsChecked(CheckBox::CheckBox6));
    ASSERT_EQ(Surface.Boxes.size(), 1u);
    EXPECT_EQ(Surface.Boxes[0].Text, "spatně");
    EXPECT_EQ(Surface.Boxes[0].Message, MessageKind::Error);
    EXPECT_EQ(Surface.Boxes[0].Buttons, ButtonSet::Ok);
    // The box comes only after the points were written.
    EXPECT_EQ(Surface.Log.back(), "MessageBox(\"spatně\", Error, Ok)");
}

TEST_F(Scoring, AllFourWrongTicksAllFourCorrectBoxes)
{
    Place(1, 9);
    Tick("A");
    Confirm();
    for (Option option : AllOptions)
        EXPECT_TRUE(Surface.IsChecked(CorrectBox(option)));
    EXPECT_EQ(Text(Label::Label6), "3");
}

TEST_F(Scoring, TheVerdictTurnsAtTenErrorPointsBeforeSpatneAndStaysRed)
{
    // 8 error points and a wrong answer at position 1 (weight 2): 10.
    Place(1, 1, 8, 0);
    Tick("B");
    std::string verdictWhileOpen;
    Surface.ReplyButton(PressedButton::Ok, [&] { verdictWhileOpen = Text(Label::Label10); });
    Confirm();
    EXPECT_EQ(verdictWhileOpen, "NEZVLÁDÁTE");
    EXPECT_EQ(Surface.Colours[Label::Label10], Red);

    // A later right answer adds points and leaves the verdict alone.
    Surface.SetLabelText(Label::Label4, "2");
    for (int box = 0; box < 8; ++box)
        Surface.SetChecked(static_cast<CheckBox>(box), Checked::No);
    Tick("B");
    Confirm();
    EXPECT_EQ(Text(Label::Label8), "2");
    EXPECT_EQ(Text(Label::Label10), "NEZVLÁDÁTE");
    EXPECT_EQ(Surface.Colours[Label::Label10], Red);
}

TEST_F(Scoring, NineErrorPointsStillPass)
{
    Place(1, 10, 6, 0); // weight 3: 9
    Tick("A");
    Confirm();
    EXPECT_EQ(Text(Label::Label6), "9");
    EXPECT_EQ(Text(Label::Label10), "ZVLÁDÁTE");
    EXPECT_EQ(Surface.Colours[Label::Label10], Green);
}

TEST_F(Scoring, WrongAnswersAtSixSevenEightTurnTheVerdictAtTheThird)
{
    Place(1, 6);
    const char* expected[] = { "4", "8", "12" };
    const char* verdicts[] = { "ZVLÁDÁTE", "ZVLÁDÁTE", "NEZVLÁDÁTE" };
    for (int position = 6; position <= 8; ++position) {
        Surface.SetLabelText(Label::Label4, std::to_string(position));
        Surface.SetChecked(CheckBox::CheckBox5, Checked::No);
        Surface.SetChecked(CheckBox::CheckBox6, Checked::No);
        Tick(position == 6 ? "A" : "C"); // 6: CD, 7: AD, 8: BC — all wrong
        Confirm();
        EXPECT_EQ(Text(Label::Label6), expected[position - 6]);
        EXPECT_EQ(Text(Label::Label10), verdicts[position - 6]);
    }
}

// Plays a whole test with the given set of wrong positions and returns the final verdict.
std::string PlayWholeTest(
    int test, const std::set<int>& wrongPositions, std::string& error, std::string& achieved)
{
    AnswerKey key;
    LoadAnswerKey(key);
    RecordingSurface surface;
    surface.SetLabelText(Label::Label2, std::to_string(test));
    surface.SetLabelText(Label::Label6, "0");
    surface.SetLabelText(Label::Label8, "0");
    surface.SetLabelText(Label::Label10, "ZVLÁDÁTE");
    for (int position = 1; position <= 25; ++position) {
        surface.SetLabelText(Label::Label4, std::to_string(position));
        for (Option option : AllOptions) {
            bool correct = key.Mark({ test, position }, option) == AnswerMark::X;
            bool tick = wrongPositions.contains(position) ? !correct : correct;
            surface.SetChecked(ChoiceBox(option), tick ? Checked::Yes : Checked::No);
        }
        if (IsAnswerCorrect(surface, key)) {
            AddPoints(surface, Outcome::Right);
        } else {
            AddPoints(surface, Outcome::Wrong);
            RevealCorrectAnswers(surface, key).Get();
        }
    }
    error = surface.LabelText(Label::Label6);
    achieved = surface.LabelText(Label::Label8);
    return surface.LabelText(Label::Label10);
}

TEST(ScoringWholeTest, PointsAddUpTo65AndTheVerdictFollowsTheThreshold)
{
    struct Case {
        std::set<int> Wrong;
        const char* Error;
        const char* Achieved;
        const char* Verdict;
    };
    std::set<int> all;
    for (int position = 1; position <= 25; ++position)
        all.insert(position);
    const Case cases[] = {
        { {}, "0", "65", "ZVLÁDÁTE" }, { all, "65", "0", "NEZVLÁDÁTE" },
        { { 9, 10, 11 }, "9", "56", "ZVLÁDÁTE" }, // 3 + 3 + 3
        { { 6, 7, 20 }, "9", "56", "ZVLÁDÁTE" }, // 4 + 4 + 1
        { { 6, 7, 1 }, "10", "55", "NEZVLÁDÁTE" }, // 4 + 4 + 2
        { { 25, 24, 23, 22 }, "9", "56", "ZVLÁDÁTE" }, // 3 + 2 + 2 + 2
    };
    for (int test : { 1, 17, 32 }) {
        for (const Case& c : cases) {
            std::string error, achieved;
            EXPECT_EQ(PlayWholeTest(test, c.Wrong, error, achieved), c.Verdict) << test;
            EXPECT_EQ(error, c.Error);
            EXPECT_EQ(achieved, c.Achieved);
        }
    }
}

TEST_F(Scoring, WithoutAQuestionOnScreenNothingIsScoredAndTheConversionIsReported)
{
    Place(1, 1);
    Surface.SetLabelText(Label::Label2, "");
    Surface.SetLabelText(Label::Label4, "");
    Tick("A");
    RunHandler(Surface, [&] { Confirm(); });
    EXPECT_EQ(Text(Label::Label6), "0");
    EXPECT_EQ(Text(Label::Label8), "0");
    ASSERT_EQ(Surface.Boxes.size(), 1u);
    EXPECT_EQ(Surface.Boxes[0].Text, "'' is not a valid integer value.");
}

} // namespace
} // namespace brzdomat
