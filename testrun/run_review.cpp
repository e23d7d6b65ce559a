#include "testrun/run_review.h"

#include <vector>

namespace brzdomat {

namespace {

constexpr const char* Letters[] = { "A", "B", "C", "D" };

// Czech counts take one form for 1, another for 2 to 4 and a third for the rest.
std::string Counted(int count, const char* one, const char* few, const char* many)
{
    const char* word = count == 1 ? one : (count >= 2 && count <= 4 ? few : many);
    return std::to_string(count) + " " + word;
}

// "B", "B a D", "A, B a C": the spoken list.
std::string SpokenOptions(const std::array<bool, 4>& options)
{
    std::vector<std::string> named;
    for (std::size_t index = 0; index < options.size(); ++index) {
        if (options[index])
            named.emplace_back(Letters[index]);
    }
    if (named.empty())
        return "nic";
    std::string text = named.front();
    for (std::size_t index = 1; index < named.size(); ++index)
        text += (index + 1 == named.size() ? " a " : ", ") + named[index];
    return text;
}

const char* EndText(RunEnd end)
{
    switch (end) {
    case RunEnd::LastQuestion:
        return "dokončen";
    case RunEnd::SeriesEnd:
        return "série dokončena";
    case RunEnd::TimeOut:
        return "čas vypršel";
    case RunEnd::EarlyEnd:
        return "ukončen předčasně";
    }
    return "";
}

} // namespace

std::string RunTitle(const RunRecord& record)
{
    switch (record.Kind) {
    case RunKind::WholeTest:
        return "Test č. " + std::to_string(record.Test);
    case RunKind::RandomSelection:
        return "Náhodný výběr otázek";
    case RunKind::FullyRandom:
        return "Úplně náhodný výběr: " + Counted(record.Count, "otázka", "otázky", "otázek");
    case RunKind::Mistakes:
        return "Chybné otázky: " + std::to_string(record.PlannedCount);
    }
    return "";
}

std::string ReviewHeadLine(const RunRecord& record)
{
    // A series that could not end by its count had as many questions as were shown.
    int planned
        = record.PlannedCount > 0 ? record.PlannedCount : static_cast<int>(record.Questions.size());
    return RunTitle(record) + " · " + EndText(record.End) + " · " + record.Minutes + " z "
        + std::to_string(record.LimitMinutes) + " minut · správně "
        + std::to_string(record.CountOf(AnswerResult::Right)) + " z " + std::to_string(planned)
        + " · chybné body " + record.ErrorPoints + ", dosažené body " + record.AchievedPoints;
}

std::string OptionsText(const std::array<bool, 4>& options)
{
    std::string text;
    for (std::size_t index = 0; index < options.size(); ++index) {
        if (!options[index])
            continue;
        if (!text.empty())
            text += ", ";
        text += Letters[index];
    }
    return text.empty() ? "–" : text;
}

std::string ResultText(AnswerResult result)
{
    switch (result) {
    case AnswerResult::Right:
        return "✓ správně";
    case AnswerResult::Wrong:
        return "✗ špatně";
    case AnswerResult::Unanswered:
        return "– nezodpovězeno";
    }
    return "";
}

std::string QuestionSentence(const AnsweredQuestion& question)
{
    std::string sentence = "Otázka " + std::to_string(question.Question.Question) + " testu "
        + std::to_string(question.Question.Test) + ", "
        + Counted(question.Points, "bod", "body", "bodů") + ", ";
    if (question.Result != AnswerResult::Unanswered)
        sentence += "zaškrtnuto " + SpokenOptions(question.Ticked) + ", ";
    sentence += "správně " + SpokenOptions(question.Correct) + ", ";
    switch (question.Result) {
    case AnswerResult::Right:
        return sentence + "správně";
    case AnswerResult::Wrong:
        return sentence + "špatně";
    case AnswerResult::Unanswered:
        return sentence + "nezodpovězeno";
    }
    return sentence;
}

} // namespace brzdomat
