#pragma once

// The main window's logic: runs a test from its start command to its end, and owns all state
// that lives as long as the program (the answer key, the mode, the fully random series, the
// generator, the start directory). It reaches the window only through UiSurface; the counters
// the user sees live only in the status labels, and no integer here shadows them.
//
// It does not draw anything, decode pictures or judge answers itself: the surface, the picture
// loader and the scoring functions do that.
//
// The handlers are called by the window's event dispatch. Each is a Command, so a failure that
// leaves one is reported and the handler stays abandoned where it failed. The clock's tick is
// delivered while any modal box is open, so a command waiting for a box's reply may come back to
// a test run that the clock has ended meanwhile; such a command leaves by throwing
// HandlerAbandoned, which the error path swallows without a message.

#include "bank/answer_key.h"
#include "bank/question_ref.h"
#include "ui/error_path.h"
#include "ui/run_record.h"
#include "ui/ui_surface.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace brzdomat {

// The modes of a running test, compared by exact text.
inline constexpr std::string_view ModeWholeTest = "obycejnycely";
inline constexpr std::string_view ModeRandomSelection = "obycejnynahodny";
inline constexpr std::string_view ModeFullyRandom = "nahoda";
// The wrongly answered questions of the last run, asked again in their order.
inline constexpr std::string_view ModeMistakes = "chybne";

// The minutes after which the clock ends a test run, compared as text like every counter: the
// usual limit, and the one while "Prodloužený čas (60 minut)" is ticked.
inline constexpr int TimeLimitMinutes = 30;
inline constexpr int ExtendedTimeLimitMinutes = 60;

class ExamController {
public:
    explicit ExamController(UiSurface&);

    // Creation of the main window: fills the answer key and empties the status labels.
    Command FormCreate();
    // The first activation shows the splash window and then records the current directory as
    // the start directory; every later call does nothing.
    Command FormActivate();
    // Sets the folder below which the pictures are looked for. FormActivate records the current
    // directory through it; tests point it at a folder of their own.
    void RecordStartDirectory(std::string directory);

    // The 32 items under "&Vybrat si test": the item with caption k starts test k.
    Command N11Click() { return StartChosenTest(1); }
    Command N21Click() { return StartChosenTest(2); }
    Command N31Click() { return StartChosenTest(3); }
    Command N41Click() { return StartChosenTest(4); }
    Command N51Click() { return StartChosenTest(5); }
    Command N61Click() { return StartChosenTest(6); }
    Command N71Click() { return StartChosenTest(7); }
    Command N81Click() { return StartChosenTest(8); }
    Command N91Click() { return StartChosenTest(9); }
    Command N101Click() { return StartChosenTest(10); }
    Command N111Click() { return StartChosenTest(11); }
    Command N121Click() { return StartChosenTest(12); }
    Command N131Click() { return StartChosenTest(13); }
    Command N141Click() { return StartChosenTest(14); }
    Command N151Click() { return StartChosenTest(15); }
    Command N161Click() { return StartChosenTest(16); }
    Command N171Click() { return StartChosenTest(17); }
    Command N181Click() { return StartChosenTest(18); }
    Command N191Click() { return StartChosenTest(19); }
    Command N201Click() { return StartChosenTest(20); }
    Command N211Click() { return StartChosenTest(21); }
    Command N221Click() { return StartChosenTest(22); }
    Command N231Click() { return StartChosenTest(23); }
    Command N241Click() { return StartChosenTest(24); }
    Command N251Click() { return StartChosenTest(25); }
    Command N261Click() { return StartChosenTest(26); }
    Command N271Click() { return StartChosenTest(27); }
    Command N281Click() { return StartChosenTest(28); }
    Command N291Click() { return StartChosenTest(29); }
    Command N301Click() { return StartChosenTest(30); }
    Command N311Click() { return StartChosenTest(31); }
    Command N321Click() { return StartChosenTest(32); }

    // The handler of the item with caption k is ChosenTestHandlers[k - 1], so the window can
    // connect the 32 items in a loop.
    using Handler = Command (ExamController::*)();
    static const std::array<Handler, TestCount> ChosenTestHandlers;
    // The handler of each command of the menu; null for the submenu of the tests.
    static Handler MenuHandler(MenuItem);

    // Starts test 1..32 at question 1; another number throws std::out_of_range.
    Command StartChosenTest(int test);
    // "Náhodný &celý test": a whole test drawn at random.
    Command Nhodnceltest1Click();
    // "Náhodný výběr &otázek (25)": positions 1..25, each from a test drawn anew.
    Command Nhodnvbrotzek251Click();
    // "Úp&lně náhodný výběr otázek": as many fully random questions as the user asks for.
    Command plnnhodnvbrotzek1Click();
    // "&Ukončit testování": ends the test run after the user confirms.
    Command Ukonittest1Click();
    // "&Přehled posledního testu": the review of the last run, from which the student may go on
    // to practise its mistakes.
    Command Pehledposlednhotestu1Click();
    // "P&rocvičit chybné otázky": a run of the last run's wrong answers; it becomes the last run.
    Command Procviitchybnotzky1Click();
    // "Prodloužený čas (60 minut)": ticks or unticks the longer limit while no test runs.
    Command Prodlouenas60minut1Click();
    // "Potvrď": refuses an answer with nothing ticked, otherwise judges it and moves on.
    Command Button1Click();
    // The clock's tick, once a minute while a test runs; the 30th ends the test run, or the 60th
    // when the longer limit is ticked.
    Command Timer1Timer();

    // "&Zavřít" closes the main window, which ends the program.
    Command Zavt1Click();
    // "&About .." and "&O programu" open their windows modally.
    Command About1Click();
    Command Oprogramu1Click();

    // The one pseudo-random generator of the program: the next number in 0..n-1 for n >= 1.
    // Every draw advances the one shared state. n below 1 throws std::out_of_range and draws
    // nothing.
    int RandomBelow(int n);

    // Read-only views for the window and the tests.
    UiSurface& Surface() const { return m_Surface; }
    const std::string& TestMode() const { return m_TestMode; }
    const std::string& StartDirectory() const { return m_StartDirectory; }
    std::int32_t RandomQuestionIndex() const { return m_RandomQuestionIndex; }
    std::int32_t RandomQuestionCount() const { return m_RandomQuestionCount; }
    std::uint32_t RandomSeed() const { return m_RandomSeed; }
    bool ActivatedOnce() const { return m_ActivatedOnce; }
    const AnswerKey& Key() const { return m_Key; }
    // True from a start command until the end of its test run.
    bool TestRunning() const { return m_TestRunning; }
    // The last run that has ended, and whether the longer limit is ticked.
    const RunRecord& LastRun() const { return m_LastRun; }
    bool ExtendedTime() const { return m_ExtendedTime; }

private:
    enum class RunState { Idle, Running };

    // The running state of the menus, then the mode, then BeginTestRun: every start command
    // begins with these.
    void StartTestRun(std::string_view mode);
    void BeginTestRun();
    Reply<> ShowQuestion(int test, int question);
    // The next fully random question: the question number is drawn before the test number.
    Reply<> ShowRandomQuestion();
    // The question that confirming the one on screen shows next, none after the run's last. The
    // random modes look ahead on a copy of the generator, so the draws stay as they were.
    std::optional<QuestionRef> QuestionAfter(QuestionRef shown) const;
    Reply<> EvaluateAndAdvance();
    Reply<> FinishTest(RunEnd);
    void ClearStatusLabels();
    void ClearAnswerBoxes();

    // Every end of a test run stops the clock through here, before any end message.
    void StopClock();
    void SetMenusFor(RunState);
    // The idle state without any message: used by the early end and by a refused count.
    void EndTestRunQuietly();
    void MakeSureStartDirectoryIsKnown();

    // The record of the running test: each confirmed answer as it is judged, and at the end the
    // questions left unanswered and the labels as they stand, after which it is the last run.
    void RecordAnswer(AnswerResult);
    AnsweredQuestion Unanswered(QuestionRef) const;
    void CloseRunRecord(RunEnd);
    bool LastRunAllows(MenuItem) const;

    // Opens a modal box through openBox and gives back what it returns. The clock ticks inside
    // every box; should it end the test run meanwhile, the command that opened the box leaves
    // silently instead of going on with a run that is over.
    template <typename OpenBox> auto OpenBoxInRun(OpenBox openBox) -> std::invoke_result_t<OpenBox>
    {
        std::uint64_t endedRunsBefore = m_EndedRuns;
        auto leaveIfRunEnded = [this, endedRunsBefore] {
            if (m_EndedRuns != endedRunsBefore)
                throw HandlerAbandoned {};
        };
        if constexpr (std::is_same_v<std::invoke_result_t<OpenBox>, Reply<>>) {
            co_await openBox();
            leaveIfRunEnded();
        } else {
            auto result = co_await openBox();
            leaveIfRunEnded();
            co_return result;
        }
    }

    UiSurface& m_Surface;
    AnswerKey m_Key;
    std::string m_TestMode;
    std::int32_t m_RandomQuestionIndex = 0;
    std::int32_t m_RandomQuestionCount = 0;
    std::uint32_t m_RandomSeed = 0;
    std::string m_StartDirectory;
    bool m_ActivatedOnce = false;
    // True from a start command until the clock is stopped at the end of its test run, so the
    // clock runs exactly while this is true.
    bool m_TestRunning = false;
    bool m_ExtendedTime = false;
    RunRecord m_CurrentRun;
    RunRecord m_LastRun;
    // The question on screen that has not been confirmed yet.
    std::optional<QuestionRef> m_ShownQuestion;
    // The questions of a run of mistakes and the one on screen.
    std::vector<QuestionRef> m_MistakeQuestions;
    std::size_t m_MistakeIndex = 0;
    // Counts the ends of test runs. A command notes it before a modal box and compares after.
    std::uint64_t m_EndedRuns = 0;
};

} // namespace brzdomat
