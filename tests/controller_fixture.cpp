#include "tests/controller_fixture.h"

#include "bank/question_picture.h"
#include "testrun/scoring.h"
#include "testrun/text_to_int.h"
#include "tests/testsupport/jpeg_maker.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace brzdomat::testing {

namespace {

// Owns the folders for the life of the test process.
struct Folders {
    TemporaryFolder Root;
    std::string Pictures = (Root.Path() / "pictures").string();
    std::string Empty = (Root.Path() / "empty").string();

    Folders()
    {
        std::filesystem::create_directories(std::filesystem::path { Pictures } / PictureFolderName);
        JpegRecipe tiny;
        tiny.Width = 8;
        tiny.Height = 8;
        std::vector<std::uint8_t> jpeg = MakeJpeg(tiny);
        for (int test = 1; test <= TestCount; ++test) {
            for (int question = 1; question <= QuestionsPerTest; ++question)
                WriteBytes(QuestionPicturePath(Pictures, { test, question }), jpeg);
        }
        std::filesystem::create_directories(Empty);
    }
};

Folders& TheFolders()
{
    static Folders folders;
    return folders;
}

} // namespace

const std::string& PictureFolder()
{
    return TheFolders().Pictures;
}
const std::string& EmptyFolder()
{
    return TheFolders().Empty;
}

std::string CorrectLetters(const AnswerKey& key, QuestionRef question)
{
    std::string letters;
    for (Option option : AllOptions) {
        if (key.Mark(question, option) == AnswerMark::X)
            letters += static_cast<char>('A' + static_cast<int>(option));
    }
    return letters;
}

std::string WrongLetters(const AnswerKey& key, QuestionRef question)
{
    std::string correct = CorrectLetters(key, question);
    for (std::string candidate : { "A", "B", "ABCD", "C", "D" }) {
        if (candidate != correct)
            return candidate;
    }
    return "A";
}

ControllerTest::ControllerTest()
{
    Controller.FormCreate();
    Controller.RecordStartDirectory(PictureFolder());
}

void ControllerTest::Run(ExamController::Handler handler)
{
    // Boxes that reply later do so once the handler has returned to the event loop.
    std::size_t waitingBefore = Surface.BoxesWaiting();
    RunHandler(Surface, [&] { (Controller.*handler)(); });
    Surface.ReplyToBoxesAbove(waitingBefore);
}

void ControllerTest::Ticks(int count)
{
    for (int tick = 0; tick < count; ++tick)
        Tick();
}

void ControllerTest::Choose(std::string_view letters)
{
    for (Option option : AllOptions) {
        bool chosen = letters.find(static_cast<char>('A' + static_cast<int>(option)))
            != std::string_view::npos;
        Surface.SetChecked(ChoiceBox(option), chosen ? Checked::Yes : Checked::No);
    }
}

void ControllerTest::AnswerRight()
{
    Choose(CorrectLetters(Controller.Key(), Current()));
    Confirm();
}

void ControllerTest::AnswerWrong()
{
    Choose(WrongLetters(Controller.Key(), Current()));
    Surface.ReplyButton(PressedButton::Ok); // "spatně"
    Confirm();
}

QuestionRef ControllerTest::Current() const
{
    return { TextToInt(Text(Label::Label2)), TextToInt(Text(Label::Label4)) };
}

bool ControllerTest::IsRunningState() const
{
    return !Surface.MenuEnabled.at(MenuItem::Vybratsitest1)
        && !Surface.MenuEnabled.at(MenuItem::Nhodnceltest1)
        && !Surface.MenuEnabled.at(MenuItem::Nhodnvbrotzek251)
        && !Surface.MenuEnabled.at(MenuItem::plnnhodnvbrotzek1)
        && Surface.MenuEnabled.at(MenuItem::Ukonittest1) && Surface.ButtonEnabled
        && Surface.PictureVisible && Surface.TimerRunning && Controller.TestRunning();
}

bool ControllerTest::IsIdleState() const
{
    bool labelsEmpty = true;
    for (Label label : { Label::Label2, Label::Label4, Label::Label6, Label::Label8, Label::Label10,
             Label::Label17 })
        labelsEmpty = labelsEmpty && Text(label).empty();
    return Surface.MenuEnabled.at(MenuItem::Vybratsitest1)
        && Surface.MenuEnabled.at(MenuItem::Nhodnceltest1)
        && Surface.MenuEnabled.at(MenuItem::Nhodnvbrotzek251)
        && Surface.MenuEnabled.at(MenuItem::plnnhodnvbrotzek1)
        && !Surface.MenuEnabled.at(MenuItem::Ukonittest1) && !Surface.ButtonEnabled
        && !Surface.PictureVisible && !Surface.TimerRunning && !Controller.TestRunning()
        && labelsEmpty;
}

int ControllerTest::MessageCount(std::string_view text) const
{
    int count = 0;
    for (const std::string& shown : Surface.MessageTexts())
        count += shown == text ? 1 : 0;
    return count;
}

} // namespace brzdomat::testing
