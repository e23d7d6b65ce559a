// The application's speed against baselines measured in the same run, in process on the
// platform the run has (offscreen when there is no display):
// - confirming an answer until the next question's picture is painted, against a plain libjpeg
//   decode of that picture plus one repaint of the window;
// - making and showing the main window until its first paint, beside a minimal window of the
//   same size with one label;
// - choosing the review of the last run until its 25 rows are drawn, against confirming an answer
//   until the next question's picture is painted.

#include "bank/picture_area.h"
#include "bank/question_picture.h"
#include "bench/bench_compare.h"
#include "bench/plain_decode.h"
#include "tests/testsupport/jpeg_maker.h"
#include "ui/qt/application.h"
#include "ui/qt/main_window.h"
#include "ui/qt/message_dialogs.h"
#include "ui/qt/widget_helpers.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace {

using namespace brzdomat;

// One toolkit object for all benchmarks of the process, made at first use.
void EnsureToolkit()
{
    if (QApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "brzdomat_bench";
    static char* argv[] = { name, nullptr };
    new QApplication(argc, argv);
}

// The question cards of test 1, the size and kind of a question set's pictures.
const testing::TemporaryFolder& Pictures()
{
    static testing::TemporaryFolder folder;
    static bool made = false;
    if (!made) {
        std::filesystem::create_directories(folder.Path() / PictureFolderName);
        testing::JpegRecipe recipe;
        recipe.Width = VisibleWidth;
        recipe.Height = VisibleHeight;
        recipe.Drawing = testing::Content::Card;
        recipe.Quality = 75;
        auto bytes = testing::MakeJpeg(recipe);
        for (int question = 1; question <= QuestionsPerTest; ++question)
            testing::WriteBytes(
                QuestionPicturePath(folder.Path().string(), { 1, question }), bytes);
        made = true;
    }
    return folder;
}

std::unique_ptr<Application> MakeProgram()
{
    // No secondary windows: the splash would hold the benchmark in its own event loop.
    auto program = std::make_unique<Application>(
        "brzdomat", [](Window, QWidget*) { return std::unique_ptr<QDialog> {}; });
    program->Controller().FormActivate();
    program->Controller().RecordStartDirectory(Pictures().Path().string());
    return program;
}

void TickCorrectAnswers(Application& program)
{
    QuestionRef question { FindControl<QLabel>(program.Main(), Label::Label2)->text().toInt(),
        FindControl<QLabel>(program.Main(), Label::Label4)->text().toInt() };
    for (auto option : AllOptions) {
        bool correct = program.Controller().Key().Mark(question, option) == AnswerMark::X;
        FindControl<QCheckBox>(program.Main(), static_cast<CheckBox>(4 + static_cast<int>(option)))
            ->setChecked(correct);
    }
}

void StartTest(Application& program, int test)
{
    program.Main().findChild<QAction*>("N" + QString::number(test) + "1")->trigger();
}

// Ends the running test through its menu item, confirming the question with Yes.
void EndTest(Application& program)
{
    QTimer::singleShot(0, [] {
        if (auto* box = dynamic_cast<MessageDialog*>(QApplication::activeModalWidget()))
            box->Button(PressedButton::Yes)->click();
    });
    FindControl<QAction>(program.Main(), MenuItem::Ukonittest1)->trigger();
}

// The program on screen, in test 1.
std::unique_ptr<Application> StartTestOne()
{
    EnsureToolkit();
    auto program = MakeProgram();
    program->Show();
    QApplication::processEvents();
    StartTest(*program, 1);
    return program;
}

void BM_ConfirmUntilNextPicturePainted(benchmark::State& state)
{
    auto program = StartTestOne();
    for (auto _ : state) {
        // The last question would end the test with a message; a fresh run starts before it.
        if (FindControl<QLabel>(program->Main(), Label::Label4)->text()
            == QString::number(QuestionsPerTest)) {
            state.PauseTiming();
            EndTest(*program);
            StartTest(*program, 1);
            state.ResumeTiming();
        }
        state.PauseTiming();
        TickCorrectAnswers(*program);
        state.ResumeTiming();
        FindControl<QPushButton>(program->Main(), PushButton::Button1)->click();
        program->Main().repaint();
    }
    EndTest(*program);
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>() };
}

void BM_PlainDecodeAndRepaint(benchmark::State& state)
{
    auto program = StartTestOne();
    auto path = QuestionPicturePath(Pictures().Path().string(), { 1, 2 });
    for (auto _ : state) {
        benchmark::DoNotOptimize(bench::PlainFullDecode(ReadFile(path)));
        program->Main().repaint();
    }
    EndTest(*program);
}

// Counts the paint events of one widget.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    bool Painted = false;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            Painted = true;
        return false;
    }
};

void WaitForPaint(const PaintWatch& watch)
{
    while (!watch.Painted)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_MainWindowToFirstPaint(benchmark::State& state)
{
    EnsureToolkit();
    for (auto _ : state) {
        auto program = std::make_unique<Application>(
            "brzdomat", [](Window, QWidget*) { return std::unique_ptr<QDialog> {}; });
        PaintWatch watch(program->Main().centralWidget());
        program->Show();
        WaitForPaint(watch);
        state.PauseTiming();
        program.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

void BM_MinimalWindowToFirstPaint(benchmark::State& state)
{
    EnsureToolkit();
    for (auto _ : state) {
        auto window = std::make_unique<QWidget>();
        window->resize(ClientWidth, ClientHeight);
        new QLabel(QStringLiteral("Test č."), window.get());
        PaintWatch watch(window.get());
        window->show();
        WaitForPaint(watch);
        state.PauseTiming();
        window.reset();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// Notes the first paint of the review's rows and closes the review then.
class ReviewPaint : public QObject {
public:
    std::chrono::steady_clock::time_point Painted;
    bool Seen = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!Seen && event->type() == QEvent::Paint && watched->parent()
            && watched->parent()->objectName() == QStringLiteral("ReviewRows")) {
            Painted = std::chrono::steady_clock::now();
            Seen = true;
            if (auto* review = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                QMetaObject::invokeMethod(review, &QDialog::reject, Qt::QueuedConnection);
        }
        return false;
    }
};

void BM_ReviewOfTheLastRunDrawn(benchmark::State& state)
{
    // A run of test 1 with one answer, ended early: the review lists 25 rows.
    auto program = StartTestOne();
    TickCorrectAnswers(*program);
    FindControl<QPushButton>(program->Main(), PushButton::Button1)->click();
    EndTest(*program);
    ReviewPaint watch;
    qApp->installEventFilter(&watch);
    for (auto _ : state) {
        watch.Seen = false;
        const auto chosen = std::chrono::steady_clock::now();
        // Returns once the review has been drawn and closed.
        FindControl<QAction>(program->Main(), MenuItem::Pehledposlednhotestu1)->trigger();
        if (!watch.Seen) {
            state.SkipWithError("the review was not drawn");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(watch.Painted - chosen).count());
    }
    qApp->removeEventFilter(&watch);
}

BENCHMARK(BM_ConfirmUntilNextPicturePainted)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReviewOfTheLastRunDrawn)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainDecodeAndRepaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MainWindowToFirstPaint)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MinimalWindowToFirstPaint)->Unit(benchmark::kMillisecond);

// The two window benchmarks show what making the main window costs once the toolkit is up; the
// start-up goal is measured on whole processes by bench/ui-process-bench, where loading the
// toolkit and the fonts, common to both programs, counts as it does for the user.
const bool Registered = bench::CompareWithBaseline(
    "BM_ConfirmUntilNextPicturePainted", "BM_PlainDecodeAndRepaint", 1.3);
const bool ReviewRegistered = bench::CompareWithBaseline(
    "BM_ReviewOfTheLastRunDrawn/manual_time", "BM_ConfirmUntilNextPicturePainted", 2.0);

} // namespace
