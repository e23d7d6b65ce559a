#pragma once

// Judging a confirmed answer, the points and the pass/fail verdict. No state of its own: the
// current question, the two counters and the verdict live in the main window's labels and boxes.

#include "bank/answer_key.h"
#include "ui/ui_surface.h"

namespace brzdomat {

// The points of a question by its position 1..25; the 25 positions are worth 65 in all.
// Throws std::out_of_range outside 1..25.
int QuestionWeight(int position);

// True only when the ticked "výběr" boxes are exactly the options marked correct for the question
// named by Label2 and Label4.
bool IsAnswerCorrect(UiSurface&, const AnswerKey&);

// The most error points with which a test run still passes.
inline constexpr int ErrorPointsAllowed = 9;

// Right adds the question's weight to the achieved points, Wrong to the error points, after which
// the verdict turns to "NEZVLÁDÁTE" once the error points exceed ErrorPointsAllowed.
enum class Outcome { Right, Wrong };
void AddPoints(UiSurface&, Outcome);

// Ticks the "správně" box of every correct option, then shows "spatně"; returns when that box is
// closed.
Reply<> RevealCorrectAnswers(UiSurface&, const AnswerKey&);

// The "výběr" (user's) and "správně" (correct) boxes of an option.
CheckBox ChoiceBox(Option);
CheckBox CorrectBox(Option);

} // namespace brzdomat
