#pragma once

// The program's built-in answer key as a teacher reads it: the letters of the correct answers of
// every question. It is read from the program's own key, so it cannot drift from what the
// program marks right.

#include "bank/answer_key.h"
#include "tools/common/user_language.h"

#include <string>
#include <string_view>

namespace brzdomat {

// The letters of the options the key marks correct, in the order A..D, joined by separator:
// "BD", or "B, D" with ", ".
std::string CorrectLetters(const AnswerKey&, QuestionRef, std::string_view separator = {});

// The whole key as a table of 32 tests by 25 questions, in two halves of questions so that it
// fits a terminal of 80 columns.
std::string AnswerKeyTable(Language);

} // namespace brzdomat
