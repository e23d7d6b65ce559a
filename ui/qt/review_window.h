#pragma once

// "Přehled testu": the last finished run looked back on. A head line with the run's counts and
// verdict, a row for each of its questions, and the selected row's picture with the student's
// ticks beside the key's, as the main window showed them. It changes nothing; its one way back
// into the logic is the choice to practise the mistakes.

#include "ui/run_record.h"

#include <QDialog>

#include <memory>

namespace brzdomat {

// The dialog's result when the student chose "Procvičit chybné"; Escape and "Zavřít" reject it.
inline constexpr int PractiseMistakesResult = QDialog::Accepted + 1;

// screenBits is the depth of the screen the pictures are shown on, as for the main window.
std::unique_ptr<QDialog> MakeReviewWindow(QWidget* parent, const RunRecord&, int screenBits);

} // namespace brzdomat
