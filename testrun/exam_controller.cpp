#include "testrun/exam_controller.h"

#include "bank/question_picture.h"
#include "testrun/picture_display.h"
#include "testrun/scoring.h"
#include "testrun/text_to_int.h"
#include "ui/error_path.h"

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
    { MenuItem::Oprogramu1, &ExamController::Oprogramu1Click },
    { MenuItem::About1, &ExamController::About1Click },
};

// A command without a handler would be an item that does nothing when chosen.
static_assert([] {
    for (const auto& row : MenuItemRows) {
        std::size_t handlers = 0;
        for (const auto& command : MenuCommands)
            handlers += command.Item == row.Item ? 1 : 0;
        if (handlers != (row.Kind == MenuKind::Command ? 1u : 0u))
            return false;
    }
    return true;
}());

constexpr CheckBox ChoiceBoxes[] { CheckBox::CheckBox5, CheckBox::CheckBox6, CheckBox::CheckBox7,
    CheckBox::CheckBox8 };

// The minute on which the clock ends a test run, compared as text like every counter.
constexpr std::string_view TimeLimitText = "30";
constexpr std::string_view LastQuestionText = "25";

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

void ExamController::FormCreate()
{
    m_ActivatedOnce = false;
    LoadAnswerKey(m_Key);
    ClearStatusLabels();
}

void ExamController::FormActivate()
{
    if (m_ActivatedOnce)
        return;
    // Marked before the splash opens: showing and closing a modal window can activate the main
    // window again, and that activation must not show a second splash.
    m_ActivatedOnce = true;
    m_Surface.ShowModalWindow(Window::TForm2);
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
    }
}

void ExamController::StartTestRun(std::string_view mode)
{
    MakeSureStartDirectoryIsKnown();
    SetMenusFor(RunState::Running);
    m_TestRunning = true;
    m_TestMode = std::string { mode };
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

void ExamController::ShowQuestion(int test, int question)
{
    m_Surface.SetLabelText(Label::Label2, IntToText(test));
    m_Surface.SetLabelText(Label::Label4, IntToText(question));
    ClearAnswerBoxes();
    // A missing picture is reported in a box, inside which the clock may end the test run. No
    // caller does anything after showing a question today; leaving here keeps it that way for
    // any step that would follow.
    OpenBoxInRun([&] { ShowQuestionPicture(m_Surface, m_StartDirectory, { test, question }); });
    // Named only once this picture is in, so that getting the next one does not delay it.
    m_Surface.QuestionComesNext(QuestionAfter({ test, question }));
}

void ExamController::ShowRandomQuestion()
{
    QuestionRef next = DrawFullyRandomQuestion(m_RandomSeed);
    ShowQuestion(next.Test, next.Question);
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

void ExamController::StartChosenTest(int test)
{
    if (test < 1 || test > TestCount)
        throw std::out_of_range("There is no test " + std::to_string(test));
    StartTestRun(ModeWholeTest);
    ShowQuestion(test, 1);
}

void ExamController::Nhodnceltest1Click()
{
    StartTestRun(ModeWholeTest);
    ShowQuestion(RandomBelow(TestCount) + 1, 1);
}

void ExamController::Nhodnvbrotzek251Click()
{
    StartTestRun(ModeRandomSelection);
    ShowQuestion(RandomBelow(TestCount) + 1, 1);
}

void ExamController::plnnhodnvbrotzek1Click()
{
    StartTestRun(ModeFullyRandom);
    m_RandomQuestionIndex = 1;
    // The clock already runs while the user types the count.
    std::string reply = OpenBoxInRun([this] {
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
    ShowRandomQuestion();
}

void ExamController::Ukonittest1Click()
{
    // A Yes given after the clock ended the run has nothing left to end.
    PressedButton answer = OpenBoxInRun([this] {
        return m_Surface.MessageBox(
            "Opravdu ukončit testování?", MessageKind::Confirmation, ButtonSet::YesNo);
    });
    if (answer != PressedButton::Yes)
        return;
    EndTestRunQuietly();
}

void ExamController::EndTestRunQuietly()
{
    StopClock();
    SetMenusFor(RunState::Idle);
    m_Surface.SetPictureVisible(Picture::Image1, Visible::No);
    ClearStatusLabels();
    m_Surface.SetButtonEnabled(PushButton::Button1, Enabled::No);
}

void ExamController::Button1Click()
{
    for (CheckBox box : ChoiceBoxes) {
        if (m_Surface.IsChecked(box)) {
            EvaluateAndAdvance();
            return;
        }
    }
    OpenBoxInRun([this] {
        m_Surface.MessageBox("Nelze nevybrat žádnou odpověď", MessageKind::Error, ButtonSet::Ok);
    });
}

void ExamController::EvaluateAndAdvance()
{
    if (IsAnswerCorrect(m_Surface, m_Key)) {
        AddPoints(m_Surface, Outcome::Right);
    } else {
        AddPoints(m_Surface, Outcome::Wrong);
        // The clock may end the test run while "spatně" is open; then nothing follows.
        OpenBoxInRun([this] { RevealCorrectAnswers(m_Surface, m_Key); });
    }

    if (m_TestMode == ModeWholeTest) {
        if (m_Surface.LabelText(Label::Label4) == LastQuestionText) {
            FinishTest();
            return;
        }
        int test = TextToInt(m_Surface.LabelText(Label::Label2));
        int question = TextToInt(m_Surface.LabelText(Label::Label4));
        ShowQuestion(test, question + 1);
    } else if (m_TestMode == ModeRandomSelection) {
        if (m_Surface.LabelText(Label::Label4) == LastQuestionText) {
            FinishTest();
            return;
        }
        int question = TextToInt(m_Surface.LabelText(Label::Label4)) + 1;
        ShowQuestion(RandomBelow(TestCount) + 1, question);
    } else if (m_TestMode == ModeFullyRandom) {
        if (m_RandomQuestionIndex == m_RandomQuestionCount) {
            StopClock();
            m_Surface.MessageBox(
                "Skončilo náhodné zadávání otázek - počtem: " + IntToText(m_RandomQuestionCount),
                MessageKind::Information, ButtonSet::Ok);
            FinishTest();
            return;
        }
        ++m_RandomQuestionIndex;
        ShowRandomQuestion();
    }
}

void ExamController::FinishTest()
{
    StopClock();
    m_Surface.MessageBox("Konec testu - prohlédněte si výsledky a poté klikněte na ok",
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

void ExamController::Timer1Timer()
{
    // Stopping the timer ends its ticks; one that was already on its way when the test run ended
    // finds nothing to count, rather than an emptied minutes label.
    if (!m_TestRunning)
        return;
    std::int64_t minutes = std::int64_t { TextToInt(m_Surface.LabelText(Label::Label17)) } + 1;
    m_Surface.SetLabelText(Label::Label17, std::to_string(minutes));
    if (m_Surface.LabelText(Label::Label17) != TimeLimitText)
        return;

    StopClock();
    m_Surface.SetLabelColour(Label::Label10, Red);
    m_Surface.SetLabelText(Label::Label10, "NESTÍHÁTE");
    m_Surface.ShowError("Čas vypršel !!");
    FinishTest();
}

void ExamController::Zavt1Click()
{
    m_Surface.CloseWindow(Window::TForm1);
}

void ExamController::About1Click()
{
    m_Surface.ShowModalWindow(Window::TForm3);
}

void ExamController::Oprogramu1Click()
{
    m_Surface.ShowModalWindow(Window::TForm5);
}

} // namespace brzdomat
