#pragma once

// Our own stand-in for a school's question picture: a card that names its test and question,
// carries a placeholder question and the answers A to D. With a set of them the program can be
// tried without any school's pictures.

#include "bank/jpeg_decoder.h"
#include "bank/question_ref.h"

#include <QImage>

namespace brzdomat {

// The size of the main window's picture area, so a card fills it exactly.
inline constexpr int CardWidth = VisibleWidth;
inline constexpr int CardHeight = VisibleHeight;

// Needs a QGuiApplication for the fonts. Each test gets its own accent colour, so moving from
// one test to another is visible at a glance.
QImage DrawQuestionCard(QuestionRef question);

} // namespace brzdomat
