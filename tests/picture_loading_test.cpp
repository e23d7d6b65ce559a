// Loading a question's picture and showing it through the surface: where the file is looked for,
// what the user sees when it cannot be shown, and that the picture on display survives every
// failure.

#include "bank/picture_file.h"
#include "bank/question_picture.h"
#include "testrun/picture_display.h"
#include "tests/testsupport/jpeg_maker.h"
#include "tests/testsupport/recording_surface.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace brzdomat {
namespace {

using testing::JpegRecipe;
using testing::MakeJpeg;
using testing::RecordingSurface;
using testing::TemporaryFolder;
using testing::WriteBytes;

constexpr std::string_view Message
    = "Nelze načít obrázek pro danou otázku. Obrázek zřejmě chybý či je poškozen!";

TEST(QuestionPicturePath, JoinsFolderAndNumbersWithoutPadding)
{
    struct Case {
        std::string_view Start;
        QuestionRef Question;
        std::string_view Expected;
    };
    const Case cases[] = {
#ifdef _WIN32
        { "D:\\Testy", { 7, 12 }, "D:\\Testy\\img\\7_12.jpg" },
        { "D:\\Testy", { 32, 25 }, "D:\\Testy\\img\\32_25.jpg" },
        { "D:\\Testy", { 10, 5 }, "D:\\Testy\\img\\10_5.jpg" },
        { "C:\\", { 1, 1 }, "C:\\\\img\\1_1.jpg" },
        { "C:\\Autoškola\\Testy", { 3, 20 }, "C:\\Autoškola\\Testy\\img\\3_20.jpg" },
#else
        { "/home/ucitel/Testy", { 7, 12 }, "/home/ucitel/Testy/img/7_12.jpg" },
        { "/home/ucitel/Testy", { 32, 25 }, "/home/ucitel/Testy/img/32_25.jpg" },
        { "/home/ucitel/Testy", { 1, 1 }, "/home/ucitel/Testy/img/1_1.jpg" },
        { "/home/ucitel/Testy", { 10, 5 }, "/home/ucitel/Testy/img/10_5.jpg" },
        { "/", { 1, 1 }, "//img/1_1.jpg" },
        { "/media/Testy s mezerou", { 3, 20 }, "/media/Testy s mezerou/img/3_20.jpg" },
#endif
    };
    for (const Case& entry : cases)
        EXPECT_EQ(QuestionPicturePath(entry.Start, entry.Question), entry.Expected);
}

#ifdef _WIN32
constexpr std::string_view Separator = "\\";
#else
constexpr std::string_view Separator = "/";
#endif

std::string Utf8(const std::filesystem::path& path)
{
    std::u8string text = path.u8string();
    return { text.begin(), text.end() };
}

class CurrentDirectoryTest : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::current_path(Saved); }
    std::filesystem::path Saved = std::filesystem::current_path();
};

// A folder name with Czech letters comes back in UTF-8 on every system, and a root (a drive root
// on Windows) keeps its separator.
TEST_F(CurrentDirectoryTest, ReportsTheProcessDirectoryAndKeepsTheRootSeparator)
{
    TemporaryFolder folder;
    std::filesystem::path canonical = std::filesystem::canonical(folder.Path());
    std::filesystem::current_path(canonical);
    EXPECT_EQ(CurrentDirectory(), Utf8(canonical));

    std::filesystem::path czech = canonical / std::filesystem::path(u8"Autoškola");
    std::filesystem::create_directory(czech);
    std::filesystem::current_path(czech);
    EXPECT_EQ(CurrentDirectory(), Utf8(canonical) + std::string { Separator } + "Autoškola");

    std::filesystem::current_path(canonical.root_path());
    EXPECT_EQ(CurrentDirectory(), Utf8(canonical.root_path()));
#ifdef _WIN32
    EXPECT_EQ(CurrentDirectory().size(), 3u);
    EXPECT_EQ(CurrentDirectory().substr(1), ":\\");
#else
    EXPECT_EQ(CurrentDirectory(), "/");
#endif
}

// A folder with img/ below it, and a surface that already shows a picture, so that a failed
// load can be seen to keep it.
class ShowQuestionPictureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory(Images());
        WriteBytes(Images() / "1_1.jpg", MakeJpeg(Card(300, 200)));
        ShowQuestionPicture(Surface, Start(), { 1, 1 }).Get();
        ASSERT_TRUE(Surface.PictureShown);
        Previous = Surface.PictureShown;
        Surface.ClearLog();
    }

    static JpegRecipe Card(int width, int height)
    {
        JpegRecipe recipe;
        recipe.Width = width;
        recipe.Height = height;
        recipe.Drawing = testing::Content::Card;
        return recipe;
    }

    std::filesystem::path Images() const { return Folder.Path() / "img"; }
    std::string Start() const { return Utf8(Folder.Path()); }

    void ExpectOneMessageAndPreviousKept()
    {
        EXPECT_EQ(Surface.MessageTexts(), std::vector<std::string> { std::string { Message } });
        ASSERT_EQ(Surface.Boxes.size(), 1u);
        EXPECT_EQ(Surface.Boxes[0].Message, MessageKind::Error);
        EXPECT_EQ(Surface.Boxes[0].Buttons, ButtonSet::Ok);
        EXPECT_EQ(Surface.PictureShown, Previous);
        EXPECT_EQ(Surface.PicturesShownCount, 1);
        EXPECT_EQ(Surface.Log.size(), 1u);
    }

    TemporaryFolder Folder;
    RecordingSurface Surface;
    std::shared_ptr<const RgbImage> Previous;
};

TEST_F(ShowQuestionPictureTest, ShowsThePictureOnceWithoutAMessage)
{
    WriteBytes(Images() / "7_12.jpg", MakeJpeg(Card(640, 480)));
    ShowQuestionPicture(Surface, Start(), { 7, 12 }).Get();
    EXPECT_EQ(Surface.Log, std::vector<std::string> { "ShowPicture(Image1, 401x457)" });
    EXPECT_TRUE(Surface.Boxes.empty());
    EXPECT_EQ(Surface.PicturesShownCount, 2);
}

// A root start directory gives two separators in a row, and the file is still found.
TEST_F(ShowQuestionPictureTest, StartDirectoryWithTrailingSeparatorStillFindsTheFile)
{
    WriteBytes(Images() / "32_25.jpg", MakeJpeg(Card(120, 90)));
    ShowQuestionPicture(Surface, Start() + std::string { Separator }, { 32, 25 }).Get();
    ASSERT_TRUE(Surface.Boxes.empty());
    EXPECT_EQ(Surface.PictureShown->Width, 120);
    EXPECT_EQ(Surface.PictureShown->Height, 90);
}

// A screen of few colours gets the picture quantised to the palette, a deep one the full colours.
TEST_F(ShowQuestionPictureTest, QuantisesForAScreenOfEightBitsOrFewer)
{
    auto bytes = MakeJpeg(Card(200, 150));
    WriteBytes(Images() / "3_3.jpg", bytes);
    DecodeOptions palette;
    palette.Screen = ScreenDepth::AtMost8Bits;
    auto quantised = DecodeJpeg(bytes, palette).Image;
    auto full = DecodeJpeg(bytes).Image;
    ASSERT_TRUE(quantised && full);
    ASSERT_NE(quantised->Pixels, full->Pixels);

    for (int bits : { 8, 4, 16, 24 }) {
        Surface.ScreenBits = bits;
        ShowQuestionPicture(Surface, Start(), { 3, 3 }).Get();
        ASSERT_TRUE(Surface.PictureShown);
        EXPECT_EQ(Surface.PictureShown->Pixels, (bits <= 8 ? quantised : full)->Pixels) << bits;
    }
    EXPECT_TRUE(Surface.Boxes.empty());
}

// Nothing is cached: the same question loads its file anew, whatever happened to it between.
TEST_F(ShowQuestionPictureTest, EveryLoadReadsTheFileAnew)
{
    std::filesystem::path file = Images() / "4_9.jpg";
    WriteBytes(file, MakeJpeg(Card(100, 50)));
    ShowQuestionPicture(Surface, Start(), { 4, 9 }).Get();
    EXPECT_EQ(Surface.PictureShown->Width, 100);

    WriteBytes(file, MakeJpeg(Card(60, 70)));
    ShowQuestionPicture(Surface, Start(), { 4, 9 }).Get();
    EXPECT_EQ(Surface.PictureShown->Width, 60);
    std::shared_ptr<const RgbImage> second = Surface.PictureShown;

    std::filesystem::remove(file);
    ShowQuestionPicture(Surface, Start(), { 4, 9 }).Get();
    EXPECT_EQ(Surface.PictureShown, second);
    EXPECT_EQ(Surface.MessageTexts().size(), 1u);
}

// The corpus of files that must bring exactly one message and keep the picture on display.
TEST_F(ShowQuestionPictureTest, EveryBadFileGivesOneMessageAndKeepsThePicture)
{
    using Prepare = std::function<std::string(const std::filesystem::path& images)>;
    auto write = [](std::vector<std::uint8_t> bytes) {
        return [bytes](const std::filesystem::path& images) {
            WriteBytes(images / "5_5.jpg", bytes);
            return std::string {};
        };
    };
    std::vector<std::uint8_t> good = MakeJpeg(Card(401, 457));
    JpegRecipe progressive = Card(64, 48);
    progressive.Mode = testing::Coding::Progressive;
    JpegRecipe manyScans = progressive;
    manyScans.RefinementScans = 10;
    std::vector<std::uint8_t> damagedMarker = good;
    damagedMarker[testing::FindMarker(good, 0xDB) + 1] = 0x02;
    std::string text = "toto není obrázek\n";
    JpegRecipe restarts = Card(401, 457);
    restarts.Sampling = testing::Chroma::Full444;
    restarts.RestartInterval = 1;

    struct Case {
        const char* Name;
        Prepare Make;
    };
    const std::vector<Case> cases = {
        { "missing file", [](const std::filesystem::path&) { return std::string {}; } },
        { "missing folder",
            [](const std::filesystem::path& images) {
                std::filesystem::remove_all(images);
                return std::string {};
            } },
        { "folder in place of the file",
            [](const std::filesystem::path& images) {
                std::filesystem::create_directory(images / "5_5.jpg");
                return std::string {};
            } },
#ifndef _WIN32
        { "device in place of the file",
            [](const std::filesystem::path& images) {
                std::filesystem::create_symlink("/dev/zero", images / "5_5.jpg");
                return std::string {};
            } },
        { "pipe in place of the file",
            [](const std::filesystem::path& images) {
                EXPECT_EQ(::mkfifo((images / "5_5.jpg").c_str(), 0600), 0);
                return std::string {};
            } },
        { "no permission",
            [&good](const std::filesystem::path& images) {
                WriteBytes(images / "5_5.jpg", good);
                std::filesystem::permissions(images / "5_5.jpg", std::filesystem::perms::none);
                // Root reads any file; the case then shows nothing about permissions.
                return ::geteuid() == 0 ? std::string { "skip" } : std::string {};
            } },
#endif
        { "several hundred megabytes",
            [](const std::filesystem::path& images) {
                // Sparse where the file system can: it must be refused before it is read.
                WriteBytes(images / "5_5.jpg", {});
                std::filesystem::resize_file(images / "5_5.jpg", std::uintmax_t { 300 } << 20);
                return std::string {};
            } },
        { "zero bytes", write({}) },
        { "text file", write({ text.begin(), text.end() }) },
        { "png", write(testing::TinyPng()) },
        { "truncated header", write(testing::CutAfter(good, 150)) },
        { "damaged marker", write(damagedMarker) },
        { "progressive claiming 65500 x 65500",
            write(testing::WithClaimedSize(MakeJpeg(progressive), 65500, 65500)) },
        { "thousands of scans", write(MakeJpeg(manyScans)) },
        { "flood of corrupt-data warnings",
            write(testing::WithRestartMarkersShuffled(MakeJpeg(restarts))) },
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.Name);
        std::filesystem::remove_all(Images());
        std::filesystem::create_directory(Images());
        if (entry.Make(Images()) == "skip")
            continue;
        Surface.ClearLog();
        ShowQuestionPicture(Surface, Start(), { 5, 5 }).Get();
        ExpectOneMessageAndPreviousKept();
    }
}

// Files that are damaged but still hold a picture are shown without a message.
TEST_F(ShowQuestionPictureTest, DamagedButReadablePicturesAreShown)
{
    std::vector<std::uint8_t> good = MakeJpeg(Card(401, 457));
    struct Case {
        const char* Name;
        std::vector<std::uint8_t> Data;
        int Width;
        int Height;
    };
    const Case cases[] = {
        { "data cut short", testing::CutAfter(good, good.size() / 2), 401, 457 },
        { "no end of image marker", testing::CutAfter(good, good.size() - 2), 401, 457 },
        { "baseline claiming 65500 x 65500", testing::WithClaimedSize(good, 65500, 65500), 401,
            457 },
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.Name);
        WriteBytes(Images() / "2_3.jpg", entry.Data);
        Surface.ClearLog();
        int shownBefore = Surface.PicturesShownCount;
        ShowQuestionPicture(Surface, Start(), { 2, 3 }).Get();
        EXPECT_TRUE(Surface.Boxes.empty());
        EXPECT_EQ(Surface.PicturesShownCount, shownBefore + 1);
        EXPECT_EQ(Surface.PictureShown->Width, entry.Width);
        EXPECT_EQ(Surface.PictureShown->Height, entry.Height);
    }
}

// The size limit is checked before reading and holds at its exact boundary.
TEST(PictureFileSize, FilesUpToTheLimitAreReadLargerOnesRefused)
{
    TemporaryFolder folder;
    std::vector<std::uint8_t> jpeg = MakeJpeg(JpegRecipe {});
    std::string path = (folder.Path() / "picture.jpg").string();
    WriteBytes(path, jpeg);
    struct Case {
        std::size_t Limit;
        DecodeFailure Expected;
    };
    const Case cases[] = {
        { jpeg.size(), DecodeFailure::None },
        { jpeg.size() + 1, DecodeFailure::None },
        { jpeg.size() - 1, DecodeFailure::FileTooLarge },
        { 0, DecodeFailure::FileTooLarge },
    };
    for (const Case& entry : cases) {
        SCOPED_TRACE(entry.Limit);
        DecodeOptions options;
        options.Limits.MaxFileBytes = entry.Limit;
        EXPECT_EQ(LoadPictureFile(path, options).Failure, entry.Expected);
        FileBytes file = ReadPictureFile(path, entry.Limit);
        EXPECT_EQ(file.Failure, entry.Expected);
        EXPECT_EQ(file.Bytes.size(), entry.Expected == DecodeFailure::None ? jpeg.size() : 0u);
    }
}

// The message is modal: the caller's world may change while it is open, and the loader must
// return normally afterwards without a second box.
TEST_F(ShowQuestionPictureTest, ReturnsNormallyAfterTheMessageCloses)
{
    bool ranWhileOpen = false;
    Surface.ReplyButton(PressedButton::Ok, [&ranWhileOpen] { ranWhileOpen = true; });
    ShowQuestionPicture(Surface, Start(), { 9, 9 }).Get();
    EXPECT_TRUE(ranWhileOpen);
    EXPECT_EQ(Surface.OpenBoxes, 0);
    EXPECT_EQ(Surface.Boxes.size(), 1u);
}

// The program asks for the name in lower case. A file system that tells cases apart does not
// find another spelling; Windows finds it, as every Windows program would.
TEST_F(ShowQuestionPictureTest, ANameInAnotherLetterCaseIsFoundOnlyWhereCasesAreOne)
{
    WriteBytes(Images() / "7_12.JPG", MakeJpeg(Card(80, 60)));
    ShowQuestionPicture(Surface, Start(), { 7, 12 }).Get();
#ifdef _WIN32
    EXPECT_TRUE(Surface.Boxes.empty());
    EXPECT_EQ(Surface.PictureShown->Width, 80);
#else
    ExpectOneMessageAndPreviousKept();
#endif
}

#ifdef _WIN32
// Another program writing the picture holds it open without letting others in: the load gives
// the message at once instead of reading a half-written file or waiting.
TEST_F(ShowQuestionPictureTest, APictureHeldOpenForWritingGivesTheMessage)
{
    std::filesystem::path file = Images() / "6_6.jpg";
    WriteBytes(file, MakeJpeg(Card(80, 60)));
    HANDLE writer = ::CreateFileW(file.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
    ShowQuestionPicture(Surface, Start(), { 6, 6 }).Get();
    ::CloseHandle(writer);
    ExpectOneMessageAndPreviousKept();

    // A reader that lets others read does not stand in the way.
    HANDLE reader = ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    ShowQuestionPicture(Surface, Start(), { 6, 6 }).Get();
    ::CloseHandle(reader);
    EXPECT_EQ(Surface.PictureShown->Width, 80);
}

// A drive root as the start directory gives C:\\img\1_1.jpg, and the file is found there.
TEST(DriveRoot, APictureBelowADriveRootIsFound)
{
    std::filesystem::path root = std::filesystem::temp_directory_path().root_path();
    std::filesystem::path images = root / "img";
    std::error_code error;
    if (!std::filesystem::create_directory(images, error) || error)
        GTEST_SKIP() << "cannot make " << images.string() << " here";
    struct Remover {
        std::filesystem::path Folder;
        ~Remover() { std::filesystem::remove_all(Folder); }
    } remover { images };
    WriteBytes(images / "1_1.jpg", MakeJpeg(JpegRecipe {}));

    std::string start = Utf8(root);
    ASSERT_EQ(start.substr(1), ":\\");
    EXPECT_EQ(QuestionPicturePath(start, { 1, 1 }), start + "\\img\\1_1.jpg");
    RecordingSurface surface;
    ShowQuestionPicture(surface, start, { 1, 1 }).Get();
    EXPECT_TRUE(surface.Boxes.empty());
    EXPECT_EQ(surface.PicturesShownCount, 1);
}

// Pictures below a folder whose name has Czech letters load, whatever the system's code page.
TEST(CzechFolder, PicturesBelowAFolderWithCzechLettersLoad)
{
    TemporaryFolder folder;
    std::filesystem::path start = folder.Path() / std::filesystem::path(u8"Autoškola Žluťoučký");
    std::filesystem::create_directories(start / "img");
    WriteBytes(start / "img" / "2_2.jpg", MakeJpeg(JpegRecipe {}));
    RecordingSurface surface;
    ShowQuestionPicture(surface, Utf8(start), { 2, 2 }).Get();
    EXPECT_TRUE(surface.Boxes.empty());
    EXPECT_EQ(surface.PicturesShownCount, 1);
}
#endif

} // namespace
} // namespace brzdomat
