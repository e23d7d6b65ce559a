#include "testrun/exam_controller.h"

#include "bank/question_picture.h"
#include "testrun/picture_display.h"
#include "testrun/scoring.h"
#include "testrun/text_to_int.h"
#include "ui/error_path.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <string>

namespace brzdomat {

namespace {

struct MenuCommand {
    MenuItem Item;
    ExamController::Handler Run;
};

// What each command of the menu runs.
constexpr MenuCommand MenuCommands[] {
    { MenuItem::Zavt1, &ExamController::Zavt1Click },
    { MenuItem::Nhodnceltest1, &ExamController::Nhodnceltest1Click },
    { MenuItem::Nhodnvbrotzek251, &ExamController::Nhodnvbrotzek251Click },
    { MenuItem::plnnhodnvbrotzek1, &ExamController::plnnhodnvbrotzek1Click },
    { MenuItem::Ukonittest1, &ExamController::Ukonittest1Click },
    { MenuItem::Pehledposlednhotestu1, &ExamController::Pehledposlednhotestu1Click },
    { MenuItem::Procviitchybnotzky1, &ExamController::Procviitchybnotzky1Click },
    { MenuItem::Prodlouenas60minut1, &ExamController::Prodlouenas60minut1Click },
    { MenuItem::Oprogramu1, &ExamController::Oprogramu1Click },
    { MenuItem::About1, &ExamController::About1Click },
};

// A command without a handler would be an item that does nothing when chosen.
static_assert([] {
    for (const auto& row : MenuItemRows) {
        std::size_t handlers = 0;
        for (const auto& command : MenuCommands)
            handlers += command.Item == row.Item ? 1 : 0;
        bool runs = row.Kind == MenuKind::Command || row.Kind == MenuKind::Check;
        if (handlers != (runs ? 1u : 0u))
            return false;
    }
    return true;
}());

constexpr CheckBox ChoiceBoxes[] { CheckBox::CheckBox5, CheckBox::CheckBox6, CheckBox::CheckBox7,
    CheckBox::CheckBox8 };

// The last question's number as Label4 shows it, which is what the end of a test is told by.
constexpr std::string_view LastQuestionText = "25";
static_assert([] {
    int number = 0;
    for (char digit : LastQuestionText)
        number = number * 10 + (digit - '0');
    return number == QuestionsPerTest;
}());

// The current directory as the folder the pictures lie below. Should the system be unable to
// name it, the relative "." still means the current directory, whereas an empty start directory
// would send every picture path to the root of the file system.
std::string DirectoryForPictures()
{
    std::string directory = CurrentDirectory();
    return directory.empty() ? std::string { "." } : directory;
}

// The generator's step on any copy of its state: the real draws and a look ahead share it.
int DrawBelow(std::uint32_t& seed, int n)
{
    if (n < 1)
        throw std::out_of_range("No random number below " + std::to_string(n));
    // Unsigned arithmetic wraps modulo 2^32, which is exactly the generator's step.
    seed = seed * 134775813u + 1u;
    return static_cast<int>((static_cast<std::uint64_t>(n) * seed) >> 32);
}

// The question number is drawn before the test number.
QuestionRef DrawFullyRandomQuestion(std::uint32_t& seed)
{
    int question = DrawBelow(seed, QuestionsPerTest) + 1;
    int test = DrawBelow(seed, TestCount) + 1;
    return { test, question };
}

} // namespace

const std::array<ExamController::Handler, TestCount> ExamController::ChosenTestHandlers {
    &ExamController::N11Click, &ExamController::N21Click, &ExamController::N31Click,
    &ExamController::N41Click, &ExamController::N51Click, &ExamController::N61Click,
    &ExamController::N71Click, &ExamController::N81Click, &ExamController::N91Click,
    &ExamController::N101Click, &ExamController::N111Click, &ExamController::N121Click,
    &ExamController::N131Click, &ExamController::N141Click, &ExamController::N151Click,
    &ExamController::N161Click, &ExamController::N171Click, &ExamController::N181Click,
    &ExamController::N191Click, &ExamController::N201Click, &ExamController::N211Click,
    &ExamController::N221Click, &ExamController::N231Click, &ExamController::N241Click,
    &ExamController::N251Click, &ExamController::N261Click, &ExamController::N271Click,
    &ExamController::N281Click, &ExamController::N291Click, &ExamController::N301Click,
    &ExamController::N311Click, &ExamController::N321Click
};

ExamController::Handler ExamController::MenuHandler(MenuItem item)
{
    for (const auto& command : MenuCommands) {
        if (command.Item == item)
            return command.Run;
    }
    return nullptr;
}

ExamController::ExamController(UiSurface& surface)
    : m_Surface(surface)
{
}

Command ExamController::FormCreate()
{
    m_ActivatedOnce = false;
    LoadAnswerKey(m_Key);
    ClearStatusLabels();
    co_return;
}

Command ExamController::FormActivate()
{
    if (m_ActivatedOnce)
        co_return;
    // Marked before the splash opens: showing and closing a modal window can activate the main
    // window again, and that activation must not show a second splash.
    m_ActivatedOnce = true;
    co_await m_Surface.ShowModalWindow(Window::TForm2);
    RecordStartDirectory(DirectoryForPictures());
}

void ExamController::RecordStartDirectory(std::string directory)
{
    m_StartDirectory = std::move(directory);
}

void ExamController::MakeSureStartDirectoryIsKnown()
{
    // A window system that never reports the activation must not leave the pictures looked for
    // below an empty directory. The splash is not shown here: the user asked for a test.
    if (m_StartDirectory.empty())
        RecordStartDirectory(DirectoryForPictures());
}

int ExamController::RandomBelow(int n)
{
    return DrawBelow(m_RandomSeed, n);
}

void ExamController::SetMenusFor(RunState state)
{
    bool running = state == RunState::Running;
    for (const auto& row : MenuItemRows) {
        if (row.Role == TestRunRole::Start)
            m_Surface.SetMenuItemEnabled(row.Item, running ? Enabled::No : Enabled::Yes);
        else if (row.Role == TestRunRole::End)
            m_Surface.SetMenuItemEnabled(row.Item, running ? Enabled::Yes : Enabled::No);
        else if (row.Role == TestRunRole::LastRun)
            m_Surface.SetMenuItemEnabled(
                row.Item, !running && LastRunAllows(row.Item) ? Enabled::Yes : Enabled::No);
    }
}

void ExamController::StartTestRun(std::string_view mode)
{
    MakeSureStartDirectoryIsKnown();
    SetMenusFor(RunState::Running);
    m_TestRunning = true;
    m_TestMode = std::string { mode };
    m_CurrentRun = {};
    m_CurrentRun.Kind = mode == ModeRandomSelection ? RunKind::RandomSelection
        : mode == ModeFullyRandom                   ? RunKind::FullyRandom
        : mode == ModeMistakes                      ? RunKind::Mistakes
                                                    : RunKind::WholeTest;
    m_CurrentRun.LimitMinutes = m_ExtendedTime ? ExtendedTimeLimitMinutes : TimeLimitMinutes;
    m_CurrentRun.StartDirectory = m_StartDirectory;
    m_ShownQuestion.reset();
    BeginTestRun();
}

void ExamController::BeginTestRun()
{
    m_Surface.StartTimer(Timer::Timer1);
    m_Surface.SetLabelText(Label::Label17, "0");
    m_Surface.SetLabelColour(Label::Label10, Green);
    m_Surface.SetLabelText(Label::Label10, "ZVLÁDÁTE");
    m_Surface.SetLabelText(Label::Label6, "0");
    m_Surface.SetLabelText(Label::Label8, "0");
    m_Surface.SetPictureVisible(Picture::Image1, Visible::Yes);
    m_Surface.SetButtonEnabled(PushButton::Button1, Enabled::Yes);
}

Reply<> ExamController::ShowQuestion(int test, int question)
{
    m_Surface.SetLabelText(Label::Label2, IntToText(test));
    m_Surface.SetLabelText(Label::Label4, IntToText(question));
    ClearAnswerBoxes();
    m_ShownQuestion = QuestionRef { test, question };
    if (m_CurrentRun.Kind == RunKind::WholeTest)
        m_CurrentRun.Test = test;
    // A missing picture is reported in a box, inside which the clock may end the test run, and
    // in a page the clock may end it while the picture is on its way. No caller does anything
    // after showing a question today; leaving here keeps it that way for any step that would
    // follow.
    const QuestionRef shown { test, question };
    co_await OpenBoxInRun([&] {
        return GetPictureFiles(
            { QuestionPicturePath(m_StartDirectory, shown) }, DecodeOptions {}.Limits.MaxFileBytes);
    });
    co_await OpenBoxInRun([&] { return ShowQuestionPicture(m_Surface, m_StartDirectory, shown); });
    // Named only once this picture is in, so that getting the next one does not delay it.
    m_Surface.QuestionComesNext(QuestionAfter({ test, question }));
}

Reply<> ExamController::ShowRandomQuestion()
{
    QuestionRef next = DrawFullyRandomQuestion(m_RandomSeed);
    co_await ShowQuestion(next.Test, next.Question);
}

std::optional<QuestionRef> ExamController::QuestionAfter(QuestionRef shown) const
{
    // The same tests as confirming makes, on the same labels and counters.
    std::uint32_t seed = m_RandomSeed;
    if (m_TestMode == ModeWholeTest || m_TestMode == ModeRandomSelection) {
        if (m_Surface.LabelText(Label::Label4) == LastQuestionText)
            return std::nullopt;
        int test = m_TestMode == ModeWholeTest ? shown.Test : DrawBelow(seed, TestCount) + 1;
        return QuestionRef { test, shown.Question + 1 };
    }
    if (m_TestMode == ModeFullyRandom) {
        if (m_RandomQuestionIndex == m_RandomQuestionCount)
            return std::nullopt;
        return DrawFullyRandomQuestion(seed);
    }
    return std::nullopt;
}

Command ExamController::StartChosenTest(int test)
{
    if (test < 1 || test > TestCount)
        throw std::out_of_range("There is no test " + std::to_string(test));
    StartTestRun(ModeWholeTest);
    co_await ShowQuestion(test, 1);
}

Command ExamController::Nhodnceltest1Click()
{
    StartTestRun(ModeWholeTest);
    co_await ShowQuestion(RandomBelow(TestCount) + 1, 1);
}

Command ExamController::Nhodnvbrotzek251Click()
{
    StartTestRun(ModeRandomSelection);
    co_await ShowQuestion(RandomBelow(TestCount) + 1, 1);
}

Command ExamController::plnnhodnvbrotzek1Click()
{
    StartTestRun(ModeFullyRandom);
    m_RandomQuestionIndex = 1;
    // The clock already runs while the user types the count.
    std::string reply = co_await OpenBoxInRun([this] {
        return m_Surface.InputBox("Počet otázek", "Zadejte kolik otázek chcete zkoušet:", "30");
    });
    try {
        m_RandomQuestionCount = TextToInt(reply);
    } catch (const ConvertError&) {
        // A run without a question could only fail later, at its first confirmation. Back to
        // idle first, so that the clock cannot tick under the error box, then the box.
        EndTestRunQuietly();
        throw;
    }
    co_await ShowRandomQuestion();
}

Command ExamController::Ukonittest1Click()
{
    // A Yes given after the clock ended the run has nothing left to end.
    PressedButton answer = co_await OpenBoxInRun([this] {
        return m_Surface.MessageBox(
            "Opravdu ukončit testování?", MessageKind::Confirmation, ButtonSet::YesNo);
    });
    if (answer != PressedButton::Yes)
        co_return;
    EndTestRunQuietly();
}

Command ExamController::Pehledposlednhotestu1Click()
{
    // The item is disabled in these states; a command that arrives anyway has nothing to show.
    if (m_TestRunning || !LastRunAllows(MenuItem::Pehledposlednhotestu1))
        co_return;
    if (co_await m_Surface.ShowReview(m_LastRun) == ReviewChoice::PractiseMistakes)
        Procviitchybnotzky1Click();
}

Command ExamController::Procviitchybnotzky1Click()
{
    if (m_TestRunning || !LastRunAllows(MenuItem::Procviitchybnotzky1))
        co_return;
    m_MistakeQuestions.clear();
    for (const auto& question : m_LastRun.Questions) {
        if (question.Result == AnswerResult::Wrong)
            m_MistakeQuestions.push_back(question.Question);
    }
    m_MistakeIndex = 0;
    StartTestRun(ModeMistakes);
    co_await ShowQuestion(m_MistakeQuestions.front().Test, m_MistakeQuestions.front().Question);
}

Command ExamController::Prodlouenas60minut1Click()
{
    // A running test keeps the limit it started with.
    if (!m_TestRunning)
        m_ExtendedTime = !m_ExtendedTime;
    m_Surface.SetMenuItemChecked(
        MenuItem::Prodlouenas60minut1, m_ExtendedTime ? Checked::Yes : Checked::No);
    co_return;
}

bool ExamController::LastRunAllows(MenuItem item) const
{
    if (item == MenuItem::Procviitchybnotzky1)
        return m_LastRun.CountOf(AnswerResult::Wrong) > 0;
    return m_LastRun.CountOf(AnswerResult::Right) + m_LastRun.CountOf(AnswerResult::Wrong) > 0;
}

void ExamController::EndTestRunQuietly()
{
    CloseRunRecord(RunEnd::EarlyEnd);
    StopClock();
    SetMenusFor(RunState::Idle);
    m_Surface.SetPictureVisible(Picture::Image1, Visible::No);
    ClearStatusLabels();
    m_Surface.SetButtonEnabled(PushButton::Button1, Enabled::No);
}

Command ExamController::Button1Click()
{
    for (CheckBox box : ChoiceBoxes) {
        if (m_Surface.IsChecked(box)) {
            co_await EvaluateAndAdvance();
            co_return;
        }
    }
    co_await OpenBoxInRun([this] {
        return m_Surface.MessageBox(
            "Nelze nevybrat žádnou odpověď", MessageKind::Error, ButtonSet::Ok);
    });
}

Reply<> ExamController::EvaluateAndAdvance()
{
    bool right = IsAnswerCorrect(m_Surface, m_Key);
    RecordAnswer(right ? AnswerResult::Right : AnswerResult::Wrong);
    if (right) {
        AddPoints(m_Surface, Outcome::Right);
    } else {
        AddPoints(m_Surface, Outcome::Wrong);
        // The clock may end the test run while "spatně" is open; then nothing follows.
        co_await OpenBoxInRun([this] { return RevealCorrectAnswers(m_Surface, m_Key); });
    }

    if (m_TestMode == ModeWholeTest) {
        if (m_Surface.LabelText(Label::Label4) == LastQuestionText) {
            co_await FinishTest(RunEnd::LastQuestion);
            co_return;
        }
        int test = TextToInt(m_Surface.LabelText(Label::Label2));
        int question = TextToInt(m_Surface.LabelText(Label::Label4));
        co_await ShowQuestion(test, question + 1);
    } else if (m_TestMode == ModeRandomSelection) {
        if (m_Surface.LabelText(Label::Label4) == LastQuestionText) {
            co_await FinishTest(RunEnd::LastQuestion);
            co_return;
        }
        int question = TextToInt(m_Surface.LabelText(Label::Label4)) + 1;
        co_await ShowQuestion(RandomBelow(TestCount) + 1, question);
    } else if (m_TestMode == ModeFullyRandom) {
        if (m_RandomQuestionIndex == m_RandomQuestionCount) {
            StopClock();
            co_await m_Surface.MessageBox(
                "Skončilo náhodné zadávání otázek - počtem: " + IntToText(m_RandomQuestionCount),
                MessageKind::Information, ButtonSet::Ok);
            co_await FinishTest(RunEnd::SeriesEnd);
            co_return;
        }
        ++m_RandomQuestionIndex;
        co_await ShowRandomQuestion();
    } else if (m_TestMode == ModeMistakes) {
        if (m_MistakeIndex + 1 >= m_MistakeQuestions.size()) {
            co_await FinishTest(RunEnd::LastQuestion);
            co_return;
        }
        const QuestionRef next = m_MistakeQuestions[++m_MistakeIndex];
        co_await ShowQuestion(next.Test, next.Question);
    }
}

Reply<> ExamController::FinishTest(RunEnd end)
{
    CloseRunRecord(end);
    StopClock();
    co_await m_Surface.MessageBox("Konec testu - prohlédněte si výsledky a poté klikněte na ok",
        MessageKind::Information, ButtonSet::Ok);
    m_Surface.SetPictureVisible(Picture::Image1, Visible::No);
    SetMenusFor(RunState::Idle);
    m_Surface.SetButtonEnabled(PushButton::Button1, Enabled::No);
    ClearStatusLabels();
    ClearAnswerBoxes();
}

void ExamController::StopClock()
{
    m_Surface.StopTimer(Timer::Timer1);
    // The test run ends with the clock: whatever box a command is waiting in, the run it was
    // working on is over once the clock stops.
    if (m_TestRunning) {
        m_TestRunning = false;
        ++m_EndedRuns;
    }
}

void ExamController::ClearStatusLabels()
{
    for (Label label : { Label::Label2, Label::Label4, Label::Label6, Label::Label8, Label::Label17,
             Label::Label10 })
        m_Surface.SetLabelText(label, "");
}

void ExamController::ClearAnswerBoxes()
{
    for (CheckBox box : AllControls<CheckBox>())
        m_Surface.SetChecked(box, Checked::No);
}

Command ExamController::Timer1Timer()
{
    // Stopping the timer ends its ticks; one that was already on its way when the test run ended
    // finds nothing to count, rather than an emptied minutes label.
    if (!m_TestRunning)
        co_return;
    std::int64_t minutes = std::int64_t { TextToInt(m_Surface.LabelText(Label::Label17)) } + 1;
    m_Surface.SetLabelText(Label::Label17, std::to_string(minutes));
    if (m_Surface.LabelText(Label::Label17) != IntToText(m_CurrentRun.LimitMinutes))
        co_return;

    StopClock();
    m_Surface.SetLabelColour(Label::Label10, Red);
    m_Surface.SetLabelText(Label::Label10, "NESTÍHÁTE");
    co_await m_Surface.ShowError("Čas vypršel !!");
    co_await FinishTest(RunEnd::TimeOut);
}

void ExamController::RecordAnswer(AnswerResult result)
{
    // Judging has just read both labels as numbers, so they hold a question of the bank.
    QuestionRef question { TextToInt(m_Surface.LabelText(Label::Label2)),
        TextToInt(m_Surface.LabelText(Label::Label4)) };
    AnsweredQuestion answered = Unanswered(question);
    for (std::size_t index = 0; index < AllOptions.size(); ++index)
        answered.Ticked[index] = m_Surface.IsChecked(ChoiceBoxes[index]);
    answered.Result = result;
    m_CurrentRun.Questions.push_back(answered);
    m_ShownQuestion.reset();
}

AnsweredQuestion ExamController::Unanswered(QuestionRef question) const
{
    AnsweredQuestion unanswered;
    unanswered.Question = question;
    unanswered.Points = QuestionWeight(question.Question);
    for (std::size_t index = 0; index < AllOptions.size(); ++index)
        unanswered.Correct[index] = m_Key.Mark(question, AllOptions[index]) == AnswerMark::X;
    return unanswered;
}

void ExamController::CloseRunRecord(RunEnd end)
{
    RunRecord& run = m_CurrentRun;
    run.End = end;
    run.Ended = std::chrono::system_clock::now();
    run.ErrorPoints = m_Surface.LabelText(Label::Label6);
    run.AchievedPoints = m_Surface.LabelText(Label::Label8);
    run.Minutes = m_Surface.LabelText(Label::Label17);
    run.Verdict = m_Surface.LabelText(Label::Label10);
    // Only a passing verdict is green; both ways of failing are red.
    run.VerdictColour = run.Verdict == "ZVLÁDÁTE" ? Green : Red;
    run.Count = m_RandomQuestionCount;
    if (m_ShownQuestion)
        run.Questions.push_back(Unanswered(*m_ShownQuestion));
    m_ShownQuestion.reset();
    // The rest of a whole test and of the mistakes are known; random questions never drawn are
    // not, and stay out of the list.
    switch (run.Kind) {
    case RunKind::WholeTest:
        run.PlannedCount = QuestionsPerTest;
        if (!run.Questions.empty()) {
            for (int question = run.Questions.back().Question.Question + 1;
                 question <= QuestionsPerTest; ++question)
                run.Questions.push_back(Unanswered({ run.Test, question }));
        }
        break;
    case RunKind::RandomSelection:
        run.PlannedCount = QuestionsPerTest;
        break;
    case RunKind::FullyRandom:
        run.PlannedCount = std::max(m_RandomQuestionCount, 0);
        break;
    case RunKind::Mistakes:
        run.PlannedCount = static_cast<int>(m_MistakeQuestions.size());
        for (std::size_t index = run.Questions.size(); index < m_MistakeQuestions.size(); ++index)
            run.Questions.push_back(Unanswered(m_MistakeQuestions[index]));
        break;
    }
    m_LastRun = std::move(run);
    m_CurrentRun = {};
}

Command ExamController::Zavt1Click()
{
    m_Surface.CloseWindow(Window::TForm1);
    co_return;
}

Command ExamController::About1Click()
{
    co_await m_Surface.ShowModalWindow(Window::TForm3);
}

Command ExamController::Oprogramu1Click()
{
    co_await m_Surface.ShowModalWindow(Window::TForm5);
}

} // namespace brzdomat
