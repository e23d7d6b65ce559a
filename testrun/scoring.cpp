#include "testrun/scoring.h"

#include "testrun/text_to_int.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace brzdomat {

namespace {

constexpr std::array<int, QuestionsPerTest> Weights { 2, 2, 2, 2, 2, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3,
    3, 3, 3, 1, 1, 2, 2, 2, 2, 3 };

// The labels name the question on screen; the question number is read first.
QuestionRef CurrentQuestion(const UiSurface& surface)
{
    int question = TextToInt(surface.LabelText(Label::Label4));
    int test = TextToInt(surface.LabelText(Label::Label2));
    return { test, question };
}

// Adds in 64 bits so that a counter can never overflow into a wrong number; a counter past the
// 32-bit range then fails to read back, which is reported rather than shown wrongly.
void AddToCounter(UiSurface& surface, Label counter, int weight)
{
    std::int64_t sum = std::int64_t { TextToInt(surface.LabelText(counter)) } + weight;
    surface.SetLabelText(counter, std::to_string(sum));
}

} // namespace

int QuestionWeight(int position)
{
    if (position < 1 || position > QuestionsPerTest)
        throw std::out_of_range("No weight for question position " + std::to_string(position));
    return Weights[static_cast<std::size_t>(position - 1)];
}

CheckBox ChoiceBox(Option option)
{
    return static_cast<CheckBox>(static_cast<int>(CheckBox::CheckBox5) + static_cast<int>(option));
}

CheckBox CorrectBox(Option option)
{
    return static_cast<CheckBox>(static_cast<int>(CheckBox::CheckBox1) + static_cast<int>(option));
}

bool IsAnswerCorrect(UiSurface& surface, const AnswerKey& key)
{
    QuestionRef question = CurrentQuestion(surface);
    for (Option option : AllOptions) {
        bool correct = key.Mark(question, option) == AnswerMark::X;
        if (surface.IsChecked(ChoiceBox(option)) != correct)
            return false;
    }
    return true;
}

void AddPoints(UiSurface& surface, Outcome outcome)
{
    int weight = QuestionWeight(TextToInt(surface.LabelText(Label::Label4)));
    if (outcome == Outcome::Right) {
        AddToCounter(surface, Label::Label8, weight);
        return;
    }
    AddToCounter(surface, Label::Label6, weight);
    if (TextToInt(surface.LabelText(Label::Label6)) > ErrorPointsAllowed) {
        surface.SetLabelColour(Label::Label10, Red);
        surface.SetLabelText(Label::Label10, "NEZVLÁDÁTE");
    }
}

Reply<> RevealCorrectAnswers(UiSurface& surface, const AnswerKey& key)
{
    QuestionRef question = CurrentQuestion(surface);
    for (Option option : AllOptions) {
        if (key.Mark(question, option) == AnswerMark::X)
            surface.SetChecked(CorrectBox(option), Checked::Yes);
    }
    co_await surface.ShowError("spatně");
}

} // namespace brzdomat
