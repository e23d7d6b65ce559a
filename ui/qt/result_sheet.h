#pragma once

// The result sheet: a reviewed test run as a PDF to print or hand in. It shows the date and
// time, the run's head lines and verdict, each question's row as the review lists it, the
// picture of every wrong answer beside the ticks given and the key's answers, and a line for the
// student's name. The review fills the content from its record of the run; the sheet only draws
// it, with the same page and face as the picture checker's review sheet. Needs a
// QGuiApplication.

#include "bank/answer_key.h"
#include "bank/question_ref.h"

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QString>

#include <array>
#include <string>
#include <vector>

class QWidget;

namespace brzdomat {

// Which of the options A to D are ticked, indexed by Option.
using OptionTicks = std::array<bool, AllOptions.size()>;

enum class RowOutcome { Right, Wrong, Unanswered };

struct ResultSheetRow {
    // The question's place in the run, from 1.
    int Position = 1;
    QuestionRef Question;
    // What the question counts.
    int Points = 0;
    // The ticks the student confirmed; none for an unanswered question.
    OptionTicks Given {};
    OptionTicks Key {};
    RowOutcome Outcome = RowOutcome::Unanswered;
};

struct ResultSheetContent {
    // When the run ended; it also dates the proposed file name.
    QDateTime Ended;
    // The run's mode, as the controller names it, and the test of a whole-test run, for the
    // proposed file name.
    std::string TestMode;
    int Test = 0;
    // The lines under the title, each as the review shows it: the mode and test, how the run
    // ended, the counts and the points.
    std::vector<std::string> HeadLines;
    std::string Verdict;
    QColor VerdictColour = Qt::black;
    // The folder whose img the wrong answers' pictures are loaded from, as the program loads them.
    std::string StartDirectory;
    std::vector<ResultSheetRow> Rows;
};

// The name the save dialog proposes: "Brzdomat-test-7-2026-12-08.pdf" for a whole test, the
// mode's words for the others.
QString ResultSheetFileName(const ResultSheetContent&);

// Writes the sheet to the file, which is replaced only by a whole sheet. False, with error set
// to the system's reason, when it could not be written; the file is then as it was.
bool WriteResultSheet(const ResultSheetContent&, const QString& file, QString& error);

// The same sheet in memory, for a browser's download.
QByteArray ResultSheetBytes(const ResultSheetContent&);

// "Uložit jako PDF…": on a desktop the system's save dialog, proposing the file name in the
// user's documents, then the write, and a message box if it fails; in a browser page the sheet
// goes to the browser as a download of that name.
void SaveResultSheet(QWidget* parent, const ResultSheetContent&);

} // namespace brzdomat
