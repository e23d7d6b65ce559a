// The sample picture set: every file the program looks for is there, named as it looks for it,
// decodable by libjpeg as a baseline colour picture of the picture area's size; a folder that
// already holds pictures keeps them; failures are reported and leave nothing half-written. And
// what the tools make of such a set: the checker's review sheet, and both tools' language.

#include "bank/answer_key.h"
#include "bank/question_picture.h"
#include "testrun/scoring.h"
#include "tests/testsupport/jpeg_maker.h"
#include "tools/check_pictures/review_sheet.h"
#include "tools/sample_pictures/jpeg_writer.h"
#include "tools/sample_pictures/question_card.h"
#include "tools/sample_pictures/sample_set.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace brzdomat {
namespace {

namespace fs = std::filesystem;

using testing::InspectJpeg;
using testing::TemporaryFolder;

std::vector<std::uint8_t> ReadFile(const fs::path& path)
{
    std::ifstream stream(path, std::ios::binary);
    return { std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>() };
}

std::set<std::string> ExpectedNames()
{
    std::set<std::string> names;
    for (int test = 1; test <= TestCount; ++test)
        for (int question = 1; question <= QuestionsPerTest; ++question)
            names.insert(std::to_string(test) + "_" + std::to_string(question) + ".jpg");
    return names;
}

// Paths go through the shell, so each is quoted: a checkout may sit in a folder with a space.
std::string Quoted(const std::string& text)
{
    std::string result = "'";
    for (const char each : text)
        result += each == '\'' ? std::string("'\\''") : std::string(1, each);
    return result + "'";
}

struct CommandResult {
    int Status = -1;
    std::string Out;
    std::string Errors;
};

// Runs a shell command with its output and errors caught in files of the folder.
CommandResult RunCommand(const std::string& command, const fs::path& folder)
{
    const fs::path out = folder / "run.out";
    const fs::path errors = folder / "run.err";
    const int status = std::system(
        ("(" + command + ") >" + Quoted(out.string()) + " 2>" + Quoted(errors.string())).c_str());
    const auto text = [](const fs::path& path) {
        const auto bytes = ReadFile(path);
        return std::string(bytes.begin(), bytes.end());
    };
    CommandResult run { WIFEXITED(status) ? WEXITSTATUS(status) : -1, text(out), text(errors) };
    fs::remove(out);
    fs::remove(errors);
    return run;
}

std::set<std::string> NamesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST(EncodeBaselineJpeg, RefusesPixelsThatDoNotMatchTheSize)
{
    const struct {
        int Width;
        int Height;
        std::size_t Bytes;
    } cases[] = {
        { 0, 10, 0 },
        { 10, 0, 0 },
        { -4, 4, 48 },
        { 4, 4, 47 },
        { 4, 4, 49 },
        { 70000, 1, 210000 },
    };
    for (const auto& each : cases) {
        const auto result = EncodeBaselineJpeg(
            each.Width, each.Height, std::vector<std::uint8_t>(each.Bytes), 75);
        EXPECT_TRUE(result.Bytes.empty()) << each.Width << " x " << each.Height;
        EXPECT_FALSE(result.Error.empty()) << each.Width << " x " << each.Height;
    }
}

TEST(EncodeBaselineJpeg, RoundTripsAColourPictureAsBaselineJfif)
{
    // Left half red, right half blue: a colour swap or a mirrored row would show.
    const int width = 32;
    const int height = 16;
    std::vector<std::uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.insert(pixels.end(),
                { std::uint8_t(x < 16 ? 255 : 0), 0, std::uint8_t(x < 16 ? 0 : 255) });
    const auto encoded = EncodeBaselineJpeg(width, height, pixels, 90);
    ASSERT_TRUE(encoded.Error.empty()) << encoded.Error;
    const auto decoded = InspectJpeg(encoded.Bytes);
    ASSERT_TRUE(decoded.Ok);
    EXPECT_EQ(decoded.Width, width);
    EXPECT_EQ(decoded.Height, height);
    EXPECT_EQ(decoded.Components, 3);
    EXPECT_FALSE(decoded.Progressive);
    EXPECT_TRUE(decoded.Jfif);
    const auto at = [&](int x, int y, int channel) {
        return int(decoded.Pixels[(static_cast<std::size_t>(y) * width + x) * 3 + channel]);
    };
    EXPECT_GT(at(4, 8, 0), 200);
    EXPECT_LT(at(4, 8, 2), 60);
    EXPECT_LT(at(28, 8, 0), 60);
    EXPECT_GT(at(28, 8, 2), 200);
}

TEST(QuestionCard, DiffersByTestAndByQuestion)
{
    const QImage first = DrawQuestionCard({ 1, 1 });
    EXPECT_EQ(first.size(), QSize(CardWidth, CardHeight));
    EXPECT_NE(first, DrawQuestionCard({ 1, 2 }));
    EXPECT_NE(first, DrawQuestionCard({ 2, 1 }));
    EXPECT_EQ(first, DrawQuestionCard({ 1, 1 })) << "the same question must give the same card";
    // Each test has its own header colour.
    EXPECT_NE(first.pixel(2, 2), DrawQuestionCard({ 2, 1 }).pixel(2, 2));
    EXPECT_EQ(first.pixel(2, 2), DrawQuestionCard({ 1, 25 }).pixel(2, 2));
}

TEST(WriteSampleSet, WritesAllEightHundredDecodableBaselinePictures)
{
    TemporaryFolder folder;
    const auto target = folder.Path() / "work" / "img";
    const auto report = WriteSampleSet(target);
    ASSERT_TRUE(report.Error.empty()) << report.Error;
    EXPECT_EQ(report.Written, 800);
    EXPECT_EQ(report.Kept, 0);
    EXPECT_EQ(NamesIn(target), ExpectedNames()) << "exactly the 800 names, nothing left over";

    for (const auto& name : ExpectedNames()) {
        const auto bytes = ReadFile(target / name);
        const auto decoded = InspectJpeg(bytes);
        ASSERT_TRUE(decoded.Ok) << name;
        EXPECT_EQ(decoded.Width, CardWidth) << name;
        EXPECT_EQ(decoded.Height, CardHeight) << name;
        EXPECT_EQ(decoded.Components, 3) << name;
        EXPECT_FALSE(decoded.Progressive) << name;
        EXPECT_TRUE(decoded.Jfif) << name;
        EXPECT_GE(bytes.size(), 15'000u) << name;
        EXPECT_LE(bytes.size(), 35'000u) << name;
    }
}

TEST(WriteSampleSet, KeepsPicturesAlreadyInTheFolder)
{
    // A school's pictures fill the folder except for two; only those two are drawn.
    TemporaryFolder folder;
    for (const auto& name : ExpectedNames())
        std::ofstream(folder.Path() / name, std::ios::binary) << "school picture " << name;
    fs::remove(folder.Path() / "1_1.jpg");
    fs::remove(folder.Path() / "32_25.jpg");

    const auto first = WriteSampleSet(folder.Path());
    ASSERT_TRUE(first.Error.empty()) << first.Error;
    EXPECT_EQ(first.Written, 2);
    EXPECT_EQ(first.Kept, 798);
    for (const auto& name : ExpectedNames()) {
        const auto bytes = ReadFile(folder.Path() / name);
        if (name == "1_1.jpg" || name == "32_25.jpg")
            EXPECT_TRUE(InspectJpeg(bytes).Ok) << name;
        else
            EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "school picture " + name);
    }

    const auto again = WriteSampleSet(folder.Path());
    EXPECT_TRUE(again.Error.empty()) << again.Error;
    EXPECT_EQ(again.Written, 0);
    EXPECT_EQ(again.Kept, 800);
}

TEST(WriteSampleSet, ReportsAFolderItCannotUse)
{
    TemporaryFolder folder;
    const auto plainFile = folder.Path() / "img";
    std::ofstream(plainFile) << "not a folder";
    const struct {
        fs::path Target;
        const char* Why;
    } cases[] = {
        { plainFile, "a file where the folder should be" },
        { plainFile / "below", "a file on the way to the folder" },
    };
    for (const auto& each : cases) {
        const auto report = WriteSampleSet(each.Target);
        EXPECT_FALSE(report.Error.empty()) << each.Why;
        EXPECT_NE(report.Error.find(plainFile.string()), std::string::npos) << report.Error;
        EXPECT_EQ(report.Written, 0) << each.Why;
    }
    EXPECT_EQ(NamesIn(folder.Path()), std::set<std::string> { "img" });
}

TEST(SamplePicturesTool, ExitCodesAndFilesFromTheCommandLine)
{
    TemporaryFolder folder;
    const std::string tool = Quoted(BRZDOMAT_SAMPLE_PICTURES_TOOL);
    const auto run = [&](const std::string& arguments) {
        const int status = std::system((tool + " " + arguments + " >/dev/null 2>&1").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    EXPECT_EQ(run(""), 2) << "no folder given";
    EXPECT_EQ(run("''"), 2) << "an empty folder name";
    EXPECT_EQ(run("a b"), 2) << "two folders given";
    EXPECT_EQ(run("--help"), 0);
    EXPECT_EQ(run("-x"), 2) << "an option, not a folder";
    EXPECT_FALSE(fs::exists("-x")) << "an option was taken for a folder";
    std::ofstream(folder.Path() / "file") << "x";
    EXPECT_EQ(run(Quoted((folder.Path() / "file").string())), 1) << "a file, not a folder";
    // Every picture already there: the tool succeeds without drawing, which keeps this quick.
    const auto full = folder.Path() / "full";
    fs::create_directories(full);
    for (const auto& name : ExpectedNames())
        std::ofstream(full / name) << "kept";
    EXPECT_EQ(run(Quoted(full.string())), 0);
    const auto one = ReadFile(full / "32_25.jpg");
    EXPECT_EQ(std::string(one.begin(), one.end()), "kept");
    // One picture missing: the tool draws just that one.
    fs::remove(full / "32_25.jpg");
    EXPECT_EQ(run(Quoted(full.string())), 0);
    EXPECT_TRUE(InspectJpeg(ReadFile(full / "32_25.jpg")).Ok);
}

// A word of a PDF's text where it stands: its page counted from 1 and its top-left corner in
// millimetres from the page's.
struct PlacedWord {
    int Page = 0;
    double X = 0;
    double Y = 0;
    std::string Text;
};

std::vector<PlacedWord> WordsOf(const fs::path& pdf, const fs::path& folder)
{
    const CommandResult run = RunCommand("pdftotext -bbox " + Quoted(pdf.string()) + " -", folder);
    EXPECT_EQ(run.Status, 0) << run.Errors;
    const std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)"[^>]*>(.*)</word>)re");
    std::vector<PlacedWord> words;
    int page = 0;
    std::istringstream lines(run.Out);
    for (std::string line; std::getline(lines, line);) {
        page += line.find("<page ") != std::string::npos;
        std::smatch match;
        if (std::regex_search(line, match, word))
            words.push_back({ page, std::stod(match[1]) * 25.4 / 72,
                std::stod(match[2]) * 25.4 / 72, match[3] });
    }
    return words;
}

// The words of a page within the rectangle, line by line, joined by blanks.
std::string TextIn(const std::vector<PlacedWord>& words, int page, const QRectF& area)
{
    std::vector<const PlacedWord*> inside;
    for (const PlacedWord& word : words)
        if (word.Page == page && area.contains(QPointF(word.X, word.Y)))
            inside.push_back(&word);
    std::sort(inside.begin(), inside.end(), [](const PlacedWord* first, const PlacedWord* second) {
        return std::tie(first->Y, first->X) < std::tie(second->Y, second->X);
    });
    std::string text;
    for (const PlacedWord* word : inside)
        text += (text.empty() ? "" : " ") + word->Text;
    return text;
}

// A rectangle of a page drawn by poppler at 20 dots a millimetre, so that the sheet's
// millimetres fall on whole pixels.
QImage Rendered(const fs::path& pdf, int page, const QRectF& millimetres, const fs::path& folder)
{
    constexpr double DotsPerMillimetre = 20;
    const auto dots
        = [](double length) { return std::to_string(std::lround(length * DotsPerMillimetre)); };
    const fs::path png = folder / "rendered";
    const CommandResult run = RunCommand("pdftoppm -png -singlefile -r 508 -f "
            + std::to_string(page) + " -l " + std::to_string(page) + " -x " + dots(millimetres.x())
            + " -y " + dots(millimetres.y()) + " -W " + dots(millimetres.width()) + " -H "
            + dots(millimetres.height()) + " " + Quoted(pdf.string()) + " " + Quoted(png.string()),
        folder);
    EXPECT_EQ(run.Status, 0) << run.Errors;
    return QImage(QString::fromStdString(png.string() + ".png"))
        .convertToFormat(QImage::Format_RGB32);
}

// The mean difference of two pictures' channels, both reduced to the size: at 50 pixels across
// it washes out how each was scaled and the sheet's compression, at one pixel it compares their
// mean colours.
double MeanDifference(const QImage& first, const QImage& second, QSize size)
{
    const QImage a = first.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage b = second.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QRgb one = a.pixel(x, y);
            const QRgb other = b.pixel(x, y);
            sum += std::abs(qRed(one) - qRed(other)) + std::abs(qGreen(one) - qGreen(other))
                + std::abs(qBlue(one) - qBlue(other));
        }
    return sum / (3.0 * size.width() * size.height());
}

// The picture area as the program shows the question's picture: as decoded, from the top-left
// corner, on white.
QImage Decoded(const std::string& start, QuestionRef question)
{
    const DecodeResult loaded = LoadQuestionPicture(start, question);
    if (!loaded.Image)
        return {};
    const RgbImage& image = *loaded.Image;
    QImage area(VisibleWidth, VisibleHeight, QImage::Format_RGB32);
    area.fill(Qt::white);
    QPainter(&area).drawImage(0, 0,
        QImage(image.Pixels.data(), image.Width, image.Height, image.Width * 3,
            QImage::Format_RGB888));
    return area;
}

TEST(ReviewSheet, ShowsEveryPictureWithTheKeysAnswersAndMarksTheFindingsOnTheirCells)
{
    // Card 1/12, with the red header of test 1, stands in its place, card 7/1, with a green one,
    // in every other; four are spoilt.
    TemporaryFolder folder;
    const fs::path images = folder.Path() / "img";
    fs::create_directory(images);
    const auto known = EncodeQuestionCard({ 1, 12 });
    const auto other = EncodeQuestionCard({ 7, 1 });
    for (const auto& name : ExpectedNames())
        testing::WriteBytes(images / name, name == "1_12.jpg" ? known : other);
    fs::remove(images / "3_4.jpg");
    auto damaged = other;
    damaged[testing::FindMarker(other, 0xDB) + 1] = 0x02;
    testing::WriteBytes(images / "3_5.jpg", damaged);
    testing::JpegRecipe grey;
    grey.Width = VisibleWidth;
    grey.Height = VisibleHeight;
    grey.Drawing = testing::Content::Card;
    grey.Model = testing::ColourModel::Grey;
    testing::WriteBytes(images / "3_6.jpg", testing::MakeJpeg(grey));
    testing::JpegRecipe larger = grey;
    larger.Model = testing::ColourModel::Colour;
    larger.Width = 640;
    testing::WriteBytes(images / "3_7.jpg", testing::MakeJpeg(larger));
    testing::JpegRecipe smaller = larger;
    smaller.Width = 300;
    smaller.Height = 200;
    testing::WriteBytes(images / "3_8.jpg", testing::MakeJpeg(smaller));
    const std::map<std::pair<int, int>, std::pair<std::string, std::string>> findings = {
        { { 3, 4 }, { "NEUKÁŽE SE", "neukáže se: chybí" } },
        { { 3, 5 }, { "NEUKÁŽE SE", "neukáže se: poškozený" } },
        { { 3, 6 }, { "", "ukáže se, ale: v odstínech šedi" } },
        { { 3, 7 }, { "", "ukáže se, ale: větší než plocha obrázku" } },
        { { 3, 8 }, { "", "ukáže se, ale: menší než plocha obrázku" } },
    };

    const fs::path sheet = folder.Path() / "přehled.pdf";
    const CommandResult run = RunCommand(
        "env -u LANGUAGE LC_ALL=cs_CZ.UTF-8 DISPLAY= " + Quoted(BRZDOMAT_CHECK_PICTURES_TOOL)
            + " --sheet " + Quoted(sheet.string()) + " " + Quoted(folder.Path().string()),
        folder.Path());
    ASSERT_EQ(run.Status, 1) << run.Out << run.Errors;
    const std::string summary = "800 obrázků: 795 v pořádku, 1 chybí, 1 poškozený, 1 větší než "
                                "plocha obrázku, 1 menší než plocha obrázku, 1 v odstínech šedi";
    EXPECT_NE(run.Out.find(summary + "\nPřehled: " + sheet.string() + "\n"), std::string::npos)
        << run.Out;

    // The first page gives the check's summary; then a page per test, every caption from the
    // program's own key and weights.
    const std::vector<PlacedWord> words = WordsOf(sheet, folder.Path());
    EXPECT_NE(TextIn(words, 1, QRectF(0, 0, 210, 297)).find(summary), std::string::npos);
    AnswerKey key;
    LoadAnswerKey(key);
    for (int test = 1; test <= TestCount; ++test) {
        for (int question = 1; question <= QuestionsPerTest; ++question) {
            const QRectF area = SheetPictureArea(question);
            std::string letters;
            for (const Option option : AllOptions)
                if (key.Mark({ test, question }, option) == AnswerMark::X)
                    letters += std::string(letters.empty() ? "" : ", ")
                        + static_cast<char>('A' + static_cast<int>(option));
            const int points = QuestionWeight(question);
            std::string below = std::to_string(test) + "/" + std::to_string(question) + " · "
                + std::to_string(points) + (points == 1 ? " bod" : " body")
                + " správně: " + letters;
            std::string inside;
            if (const auto found = findings.find({ test, question }); found != findings.end()) {
                inside = found->second.first;
                below += " " + found->second.second;
            }
            SCOPED_TRACE(std::to_string(test) + "/" + std::to_string(question));
            EXPECT_EQ(TextIn(words, test + 1,
                          QRectF(area.left() - 0.5, area.bottom(), area.width() + 1, 12)),
                below);
            EXPECT_EQ(TextIn(words, test + 1, area), inside);
        }
    }

    // Each cell shows its picture as the program shows it: the known card, and not the card of
    // its neighbours; the top-left part of the larger picture; the smaller one on white.
    for (const QuestionRef question :
        { QuestionRef { 1, 12 }, QuestionRef { 3, 7 }, QuestionRef { 3, 8 } }) {
        SCOPED_TRACE(std::to_string(question.Test) + "/" + std::to_string(question.Question));
        const QImage shown = Rendered(
            sheet, question.Test + 1, SheetPictureArea(question.Question), folder.Path());
        ASSERT_FALSE(shown.isNull());
        const QImage decoded = Decoded(folder.Path().string(), question);
        EXPECT_LT(MeanDifference(shown, decoded, QSize(50, 57)), 7.0);
        EXPECT_LT(MeanDifference(shown, decoded, QSize(1, 1)), 2.5);
        if (question == QuestionRef { 1, 12 }) {
            EXPECT_GT(
                MeanDifference(shown, Decoded(folder.Path().string(), { 1, 11 }), QSize(50, 57)),
                9.0);
        }
    }

    // The cell of the missing picture, and of the larger one, are framed in their colours.
    const auto frameColours = [&](int question) {
        const QRectF area = SheetPictureArea(question);
        const QImage edge = Rendered(
            sheet, 4, QRectF(area.left() - 1.2, area.top(), 1.2, area.height()), folder.Path());
        std::set<QRgb> colours;
        for (int y = 0; y < edge.height(); ++y)
            colours.insert(edge.pixel(edge.width() / 2, y) & 0xFFFFFF);
        return colours;
    };
    EXPECT_EQ(frameColours(4), std::set<QRgb> { 0xD55E00 });
    EXPECT_TRUE(frameColours(7).contains(0x0072B2));
    EXPECT_FALSE(frameColours(7).contains(0xD55E00));
}

TEST(ReviewSheet, AWriteThatFailsKeepsTheOldSheetAndLeavesNothingBehind)
{
    // Root writes to a read-only folder all the same, so the places are file systems of their
    // own, mounted in a namespace of the command's own, where it is root without being it.
    if (std::system("unshare -rm true >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "no user namespaces here, so no file system of the test's own";
    TemporaryFolder folder;
    fs::create_directories(folder.Path() / "school" / "img");
    const fs::path place = folder.Path() / "place";
    fs::create_directory(place);
    const std::string sheet = Quoted((place / "old.pdf").string());
    const struct {
        const char* Why;
        std::string Setup;
        const char* Message;
    } cases[] = {
        { "a folder in the sheet's place", "mkdir " + sheet, ": is a folder" },
        { "a read-only folder",
            "mount -t tmpfs none " + Quoted(place.string()) + " && echo old >" + sheet
                + " && mount -o remount,ro " + Quoted(place.string()),
            ": Existing file" },
        // The sheet of 800 missing pictures takes more than 300 KB.
        { "a full disk",
            "mount -t tmpfs -o size=64k none " + Quoted(place.string()) + " && echo old >" + sheet,
            ": No space left on device" },
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.Why);
        const std::string inside = each.Setup + " && " + Quoted(BRZDOMAT_CHECK_PICTURES_TOOL)
            + " --sheet " + sheet + " " + Quoted((folder.Path() / "school").string())
            + "; echo \"exit $?\"; ls -A " + Quoted(place.string()) + "; cat " + sheet;
        const CommandResult run = RunCommand("unshare -rm sh -c " + Quoted(inside), folder.Path());
        const bool isFolder = fs::is_directory(place / "old.pdf");
        EXPECT_NE(run.Out.find("exit 2\nold.pdf\n" + std::string(isFolder ? "" : "old\n")),
            std::string::npos)
            << run.Out;
        EXPECT_NE(run.Errors.find(each.Message), std::string::npos) << run.Errors;
        fs::remove_all(place / "old.pdf");
    }
}

TEST(ToolLanguage, CzechForACzechUserAndEnglishForEveryoneElse)
{
    TemporaryFolder folder;
    const struct {
        const char* Environment;
        bool Czech;
    } cases[] = {
        { "LANG=cs_CZ.UTF-8", true },
        { "LC_ALL=cs_CZ.UTF-8 LANG=en_GB.UTF-8", true },
        { "LC_ALL=C LANG=cs_CZ.UTF-8", false },
        { "LC_MESSAGES=cs_CZ.UTF-8 LANG=en_GB.UTF-8", true },
        { "LC_MESSAGES=en_GB.UTF-8 LANG=cs_CZ.UTF-8", false },
        { "LANG=cs_CZ", true },
        // gettext's list of preferred languages, which it reads unless the locale is C.
        { "LANG=de_DE.UTF-8 LANGUAGE=de:cs", true },
        { "LANG=cs_CZ.UTF-8 LANGUAGE=en", false },
        { "LANG=C LANGUAGE=cs", false },
        // Kashubian, whose code begins as Czech's does.
        { "LANG=csb_PL.UTF-8", false },
        { "", false },
    };
    const std::string checker = Quoted(BRZDOMAT_CHECK_PICTURES_TOOL);
    for (const auto& each : cases) {
        SCOPED_TRACE(each.Environment);
        const auto run = [&](const std::string& command) {
            return RunCommand(
                "env -i PATH=/usr/bin:/bin " + std::string(each.Environment) + " " + command,
                folder.Path());
        };
        const auto says = [&](const std::string& text, const char* english, const char* czech) {
            EXPECT_NE(text.find(each.Czech ? czech : english), std::string::npos) << text;
            EXPECT_EQ(text.find(each.Czech ? english : czech), std::string::npos) << text;
        };
        says(run(checker + " " + Quoted(folder.Path().string())).Errors,
            "there is no img folder in", "není složka img");
        says(run(checker + " --help").Out, "Exit status: 0 all pictures are fine",
            "Návratová hodnota: 0 všechny obrázky jsou v pořádku");
        says(run(Quoted(BRZDOMAT_SAMPLE_PICTURES_TOOL)).Errors,
            "Usage: brzdomat-sample-pictures FOLDER", "Použití: brzdomat-sample-pictures SLOŽKA");
    }
}

} // namespace
} // namespace brzdomat
