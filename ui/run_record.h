#pragma once

// What the last finished test run leaves for the student to look back on: the questions it
// showed, what was ticked and what the key says, and the labels as they stood at its end. The
// logic fills it while the run goes on; the review window only shows it. It lives in memory for
// as long as the program runs and is never written anywhere.

#include "bank/question_ref.h"
#include "ui/ui_surface.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace brzdomat {

// How the run came to its end.
enum class RunEnd { LastQuestion, SeriesEnd, TimeOut, EarlyEnd };
// The kind of run, as the review names it.
enum class RunKind { WholeTest, RandomSelection, FullyRandom, Mistakes };
enum class AnswerResult { Right, Wrong, Unanswered };

// One question of the run, answered or not.
struct AnsweredQuestion {
    QuestionRef Question;
    int Points = 0;
    // Options A..D: ticked by the student, and marked correct by the key.
    std::array<bool, 4> Ticked {};
    std::array<bool, 4> Correct {};
    AnswerResult Result = AnswerResult::Unanswered;
};

struct RunRecord {
    RunKind Kind = RunKind::WholeTest;
    // The test of a whole test; the count asked for in a fully random series.
    std::int32_t Test = 0;
    std::int32_t Count = 0;
    RunEnd End = RunEnd::LastQuestion;
    int LimitMinutes = 30;
    // The questions in the order shown: the answered ones, then the rest of the run's known
    // questions as unanswered.
    std::vector<AnsweredQuestion> Questions;
    // How many questions the run was to have; a series without a reachable end has none.
    int PlannedCount = 0;
    // Label6, Label8, Label17 and Label10 as they stood at the end, and the verdict's colour.
    std::string ErrorPoints;
    std::string AchievedPoints;
    std::string Minutes;
    std::string Verdict;
    Colour VerdictColour = Green;
    // Where the pictures were read from, so the review shows the same ones.
    std::string StartDirectory;
    // The wall-clock time of the end, which dates the result sheet.
    std::chrono::system_clock::time_point Ended {};

    int CountOf(AnswerResult result) const
    {
        int count = 0;
        for (const auto& question : Questions)
            count += question.Result == result ? 1 : 0;
        return count;
    }
};

} // namespace brzdomat
