#pragma once

// The texts of the review of the last run, made here so that the window only lays them out and
// the logic's tests can read exactly what a student will.

#include "ui/run_record.h"

#include <array>
#include <string>

namespace brzdomat {

// "Test č. 7", "Náhodný výběr otázek", "Úplně náhodný výběr: 40 otázek", "Chybné otázky: 3".
std::string RunTitle(const RunRecord&);
// The head line without the verdict: the run, its end, its minutes of the limit, the count of
// right answers and both points, e.g. "Test č. 7 · dokončen · 12 z 30 minut · správně 19 z 25 ·
// chybné body 9, dosažené body 56".
std::string ReviewHeadLine(const RunRecord&);

// The options ticked, "A, C", or "–" for none.
std::string OptionsText(const std::array<bool, 4>&);
// "✓ správně", "✗ špatně", "– nezodpovězeno": a mark and a word, so that colour is not needed.
std::string ResultText(AnswerResult);
// The row as a screen reader says it: "Otázka 12 testu 7, 3 body, zaškrtnuto B, správně B a D,
// špatně".
std::string QuestionSentence(const AnsweredQuestion&);

} // namespace brzdomat
