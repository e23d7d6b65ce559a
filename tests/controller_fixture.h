#pragma once

// What the controller's tests share: a folder of valid question pictures, a reference copy of the
// program's generator, and a fixture that has a freshly created main window on the recording
// surface, with every handler run through the default error path as the window runs it.

#include "bank/answer_key.h"
#include "bank/question_ref.h"
#include "testrun/exam_controller.h"
#include "tests/testsupport/recording_surface.h"
#include "ui/error_path.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace brzdomat::testing {

// A folder holding img/1_1.jpg .. img/32_25.jpg, all the same tiny valid JPEG, made once per
// test process and removed at its end.
const std::string& PictureFolder();
// A folder that exists but has no img folder below it, so every picture is missing.
const std::string& EmptyFolder();

inline constexpr std::string_view PictureFailureText
    = "Nelze načít obrázek pro danou otázku. Obrázek zřejmě chybý či je poškozen!";
inline constexpr std::string_view EndOfTestText
    = "Konec testu - prohlédněte si výsledky a poté klikněte na ok";
inline constexpr std::string_view SeriesEndPrefix = "Skončilo náhodné zadávání otázek - počtem: ";

// The generator written out once more, independently, to predict the controller's draws.
struct ReferenceGenerator {
    std::uint32_t Seed = 0;
    int Below(int n)
    {
        Seed = Seed * 134775813u + 1u;
        return static_cast<int>((std::uint64_t(n) * Seed) >> 32);
    }
};

// The options marked correct for a question, as letters, e.g. "BD".
std::string CorrectLetters(const AnswerKey&, QuestionRef);
// A non-empty choice that differs from the correct one.
std::string WrongLetters(const AnswerKey&, QuestionRef);

class ControllerTest : public ::testing::Test {
protected:
    ControllerTest();

    // Runs a handler as the window does: failures go to the default error path.
    void Run(ExamController::Handler handler);
    void Confirm() { Run(&ExamController::Button1Click); }
    void Tick() { Run(&ExamController::Timer1Timer); }
    void Ticks(int count);

    // Ticks exactly these options in the "výběr" column and unticks the others.
    void Choose(std::string_view letters);
    // Chooses the right or a wrong answer for the question on screen and confirms it, with a
    // reply for the "spatně" box when the answer is wrong.
    void AnswerRight();
    void AnswerWrong();

    QuestionRef Current() const;
    std::string Text(Label label) const { return Surface.LabelText(label); }
    bool IsRunningState() const;
    bool IsIdleState() const;
    // How often each text appeared in a message box so far.
    int MessageCount(std::string_view text) const;

    RecordingSurface Surface;
    ExamController Controller { Surface };
};

} // namespace brzdomat::testing
