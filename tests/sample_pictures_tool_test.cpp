// The sample picture set: every file the program looks for is there, named as it looks for it,
// decodable by libjpeg as a baseline colour picture of the picture area's size; a folder that
// already holds pictures keeps them; failures are reported and leave nothing half-written.

#include "tests/testsupport/jpeg_maker.h"
#include "tools/sample_pictures/jpeg_writer.h"
#include "tools/sample_pictures/question_card.h"
#include "tools/sample_pictures/sample_set.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
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
    // Paths go through the shell, so each is quoted: a checkout may sit in a folder with a space.
    const auto quoted = [](const std::string& text) {
        std::string result = "'";
        for (const char each : text)
            result += each == '\'' ? std::string("'\\''") : std::string(1, each);
        return result + "'";
    };
    const std::string tool = quoted(BRZDOMAT_SAMPLE_PICTURES_TOOL);
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
    EXPECT_EQ(run(quoted((folder.Path() / "file").string())), 1) << "a file, not a folder";
    // Every picture already there: the tool succeeds without drawing, which keeps this quick.
    const auto full = folder.Path() / "full";
    fs::create_directories(full);
    for (const auto& name : ExpectedNames())
        std::ofstream(full / name) << "kept";
    EXPECT_EQ(run(quoted(full.string())), 0);
    const auto one = ReadFile(full / "32_25.jpg");
    EXPECT_EQ(std::string(one.begin(), one.end()), "kept");
    // One picture missing: the tool draws just that one.
    fs::remove(full / "32_25.jpg");
    EXPECT_EQ(run(quoted(full.string())), 0);
    EXPECT_TRUE(InspectJpeg(ReadFile(full / "32_25.jpg")).Ok);
}

} // namespace
} // namespace brzdomat
