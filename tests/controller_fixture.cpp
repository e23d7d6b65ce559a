#include "tests/controller_fixture.h"

#include "testrun/scoring.h"
#include "testrun/text_to_int.h"

#include <jpeglib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace brzdomat::testing {

namespace {

namespace fs = std::filesystem;

std::vector<unsigned char> TinyJpeg()
{
    jpeg_compress_struct info {};
    jpeg_error_mgr errors {};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = 8;
    info.image_height = 8;
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_start_compress(&info, TRUE);
    unsigned char row[8 * 3];
    for (int x = 0; x < 8 * 3; ++x)
        row[x] = static_cast<unsigned char>(x * 10);
    while (info.next_scanline < info.image_height) {
        JSAMPROW rows[] = { row };
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<unsigned char> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

fs::path MakeTemporaryFolder()
{
    std::string pattern = (fs::temp_directory_path() / "brzdomat-controller-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}

// Owns the folders for the life of the test process.
struct Folders {
    fs::path Root = MakeTemporaryFolder();
    std::string Pictures;
    std::string Empty;

    Folders()
    {
        fs::path pictures = Root / "pictures";
        fs::create_directories(pictures / "img");
        std::vector<unsigned char> jpeg = TinyJpeg();
        for (int test = 1; test <= TestCount; ++test) {
            for (int question = 1; question <= QuestionsPerTest; ++question) {
                std::ofstream file(pictures / "img"
                        / (std::to_string(test) + "_" + std::to_string(question) + ".jpg"),
                    std::ios::binary);
                file.write(reinterpret_cast<const char*>(jpeg.data()),
                    static_cast<std::streamsize>(jpeg.size()));
            }
        }
        fs::create_directories(Root / "empty");
        Pictures = pictures.string();
        Empty = (Root / "empty").string();
    }
    ~Folders()
    {
        std::error_code ignored;
        fs::remove_all(Root, ignored);
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

void ControllerTest::Run(void (ExamController::*handler)())
{
    RunHandler(Surface, [&] { (Controller.*handler)(); });
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
