// The picture checker against the program's own loader: a folder with one spoilt file of every
// kind, the words and the summary it prints for them, and its exit codes as a command.

#include "bank/question_picture.h"
#include "testrun/picture_display.h"
#include "tests/testsupport/jpeg_maker.h"
#include "tests/testsupport/recording_surface.h"
#include "tools/check_pictures/key_table.h"
#include "tools/check_pictures/picture_check.h"
#include "tools/common/ordered_parallel_map.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <numeric>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace brzdomat {
namespace {

namespace fs = std::filesystem;
using testing::JpegRecipe;
using testing::MakeJpeg;
using testing::TemporaryFolder;
using testing::WriteBytes;

JpegRecipe Card(int width, int height)
{
    JpegRecipe recipe;
    recipe.Width = width;
    recipe.Height = height;
    recipe.Drawing = testing::Content::Card;
    return recipe;
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    return lines;
}

// A start directory whose img folder holds all 800 pictures, each the same good card.
class PictureFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fs::create_directory(Images());
        const auto card = MakeJpeg(Card(VisibleWidth, VisibleHeight));
        for (int test = 1; test <= TestCount; ++test)
            for (int question = 1; question <= QuestionsPerTest; ++question)
                WriteBytes(Path({ test, question }), card);
    }

    fs::path Images() const { return Folder.Path() / "img"; }
    std::string Start() const { return Folder.Path().string(); }
    std::string Path(QuestionRef question) const { return QuestionPicturePath(Start(), question); }

    FolderCheck Check()
    {
        std::ostringstream out;
        std::ostringstream errors;
        const FolderCheck result = CheckPictureFolder(Start(), out, errors);
        Output = out.str();
        Errors = errors.str();
        return result;
    }

    TemporaryFolder Folder;
    std::string Output;
    std::string Errors;
};

TEST_F(PictureFolderTest, FindsExactlyTheSpoiltPicturesAsTheProgramWouldLoadThem)
{
    ASSERT_EQ(Check(), FolderCheck::AllFine) << Output;
    EXPECT_EQ(Output, "800 pictures: 800 fine\n");
    EXPECT_EQ(Errors, "");

    const auto good = MakeJpeg(Card(VisibleWidth, VisibleHeight));
    const auto write = [](std::vector<std::uint8_t> bytes) {
        return [bytes](const fs::path& path) { WriteBytes(path, bytes); };
    };
    auto damagedMarker = good;
    damagedMarker[testing::FindMarker(good, 0xDB) + 1] = 0x02;
    JpegRecipe progressive = Card(64, 48);
    progressive.Mode = testing::Coding::Progressive;
    JpegRecipe manyScans = progressive;
    manyScans.RefinementScans = 10;
    JpegRecipe everyBlockRestarts = Card(VisibleWidth, VisibleHeight);
    everyBlockRestarts.Sampling = testing::Chroma::Full444;
    everyBlockRestarts.RestartInterval = 1;
    JpegRecipe someRestarts = everyBlockRestarts;
    someRestarts.RestartInterval = 200;
    JpegRecipe grey = Card(VisibleWidth, VisibleHeight);
    grey.Model = testing::ColourModel::Grey;
    JpegRecipe greySmall = Card(200, 100);
    greySmall.Model = testing::ColourModel::Grey;
    const std::string text = "toto není obrázek\n";

    struct Case {
        QuestionRef Question;
        std::function<void(const fs::path&)> Spoil;
        // The line's text after the path; empty when the picture stays fine.
        std::string Line;
    };
    const std::vector<Case> cases = {
        { { 1, 2 }, [](const fs::path& path) { fs::remove(path); }, "missing" },
        { { 2, 1 },
            [](const fs::path& path) {
                fs::remove(path);
                fs::create_symlink(path.filename(), path);
            },
            "not readable: Too many levels of symbolic links" },
        { { 2, 2 },
            [](const fs::path& path) {
                fs::remove(path);
                fs::create_directory(path);
            },
            "a folder, not a picture file" },
        { { 2, 3 },
            [](const fs::path& path) {
                fs::remove(path);
                ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
            },
            "not a regular file (a device, pipe or socket)" },
        { { 2, 4 }, write({}), "empty" },
        { { 2, 5 }, write({ text.begin(), text.end() }), "not a JPEG file" },
        { { 2, 6 }, write(testing::TinyPng()), "not a JPEG file" },
        { { 2, 7 }, write(damagedMarker), "damaged: Unsupported marker type 0x02" },
        { { 2, 8 }, write(testing::CutAfter(good, 150)),
            "damaged: JPEG datastream contains no image" },
        { { 3, 1 },
            [](const fs::path& path) {
                // Sparse: it takes no disk space, and must be refused before it is read.
                fs::resize_file(path, std::uintmax_t { 300 } << 20);
            },
            "over the limit of 64 MiB per file" },
        { { 3, 2 }, write(testing::WithClaimedSize(MakeJpeg(progressive), 65500, 65500)),
            "over the limit of 64 MiB of decoder memory" },
        { { 3, 3 }, write(MakeJpeg(manyScans)), "over the limit of 100 scans" },
        { { 3, 4 }, write(testing::WithRestartMarkersShuffled(MakeJpeg(everyBlockRestarts))),
            "over the limit of 1000 warnings of damaged data" },
        { { 4, 1 }, write(testing::CutAfter(good, good.size() / 2)),
            "cut short, shown as far as its data go (2 warnings)" },
        { { 4, 2 }, write(testing::WithRestartMarkersShuffled(MakeJpeg(someRestarts))),
            "damaged data, shown with flaws (14 warnings)" },
        { { 4, 3 }, write(MakeJpeg(Card(640, 457))),
            "640 x 457 pixels, larger than the picture area of 401 x 457: only its top-left "
            "part is shown" },
        { { 4, 4 }, write(MakeJpeg(Card(401, 300))),
            "401 x 300 pixels, smaller than the picture area of 401 x 457: white margins" },
        { { 4, 5 }, write(MakeJpeg(grey)), "greyscale, shown in 236 colours" },
        { { 4, 6 }, write(MakeJpeg(greySmall)),
            "200 x 100 pixels, smaller than the picture area of 401 x 457: white margins; "
            "greyscale, shown in 236 colours" },
        { { 7, 12 },
            [](const fs::path& path) { fs::rename(path, path.parent_path() / "7_12.JPG"); },
            "missing; there is \"7_12.JPG\", but the program asks for the name as written, in "
            "lower case" },
        // Shown as intended, though coded otherwise than the others.
        { { 5, 1 }, write(MakeJpeg([] {
             JpegRecipe recipe = Card(VisibleWidth, VisibleHeight);
             recipe.Mode = testing::Coding::Progressive;
             return recipe;
         }())),
            "" },
    };
    std::vector<std::string> expected;
    for (const Case& entry : cases) {
        entry.Spoil(Path(entry.Question));
        if (!entry.Line.empty())
            expected.push_back(Path(entry.Question) + ": " + entry.Line);
    }
    WriteBytes(Images() / "readme.txt", std::vector<std::uint8_t>(3, 'x'));
    WriteBytes(Images() / "9_9.JPG", good);
    fs::create_directory(Images() / "old");
    const std::vector<std::string> notes = {
        (Images() / "9_9.JPG").string() + ": note: the program never reads this file",
        (Images() / "old").string() + ": note: the program never reads this file",
        (Images() / "readme.txt").string() + ": note: the program never reads this file",
    };

    ASSERT_EQ(Check(), FolderCheck::Findings);
    std::vector<std::string> lines = Lines(Output);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(),
        "800 pictures: 780 fine, 2 missing, 1 not readable, 1 folder, 1 special file, 1 empty, "
        "2 not JPEG, 2 damaged, 4 over a limit, 1 cut short, 1 with damaged data, 1 larger than "
        "the picture area, 2 smaller than the picture area, 1 greyscale");
    lines.pop_back();
    // The pictures come in the program's order; the notes follow in the folder's, which the
    // file system decides.
    ASSERT_GE(lines.size(), notes.size());
    std::vector<std::string> noted(lines.end() - static_cast<long>(notes.size()), lines.end());
    lines.resize(lines.size() - notes.size());
    std::sort(noted.begin(), noted.end());
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(noted, notes);

    // Whatever the checker says of a picture, the program agrees: shown or the one message.
    for (const Case& entry : cases) {
        SCOPED_TRACE(Path(entry.Question));
        testing::RecordingSurface surface;
        ShowQuestionPicture(surface, Start(), entry.Question).Get();
        EXPECT_EQ(CheckPicture(Path(entry.Question)).Shown, surface.Boxes.empty());
    }
}

TEST_F(PictureFolderTest, CommandExitCodes)
{
    const auto quoted = [](const std::string& text) {
        std::string result = "'";
        for (const char each : text)
            result += each == '\'' ? std::string("'\\''") : std::string(1, each);
        return result + "'";
    };
    const auto run = [&](const std::string& arguments) {
        const std::string command = quoted(BRZDOMAT_CHECK_PICTURES_TOOL) + " " + arguments + " >"
            + quoted((Folder.Path() / "out").string()) + " 2>&1";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    };
    const std::string start = quoted(Start());
    EXPECT_EQ(run(start), 0);
    EXPECT_EQ(run("--help"), 0);
    EXPECT_EQ(run(start + " " + start), 2) << "two folders";
    EXPECT_EQ(run("--colour " + start), 2) << "an unknown option";
    EXPECT_EQ(run("--key"), 0);
    EXPECT_EQ(run(start + " --sheet"), 2) << "no file for the review sheet";
    EXPECT_EQ(run("--open " + start), 2) << "nothing to open without a review sheet";
    EXPECT_EQ(run(quoted(Images().string())), 2) << "a folder without img";
    EXPECT_EQ(run(quoted((Folder.Path() / "nowhere").string())), 2) << "no such folder";
    fs::remove(Path({ 32, 25 }));
    // With no folder given it checks the current folder, as the program would use it.
    const std::string cd = "cd " + start + " && ";
    EXPECT_EQ(
        std::system((cd + quoted(BRZDOMAT_CHECK_PICTURES_TOOL) + " >/dev/null").c_str()), 1 << 8);
}

// Every entry of the printed key stands under its question's number, and is the key's.
TEST(AnswerKeyTable, ShowsEachQuestionsCorrectAnswersUnderItsNumber)
{
    AnswerKey key;
    LoadAnswerKey(key);
    std::map<std::pair<int, int>, std::string> shown;
    // The right edge of each question number in the last heading, and its question.
    std::map<std::size_t, int> columns;
    std::istringstream table(AnswerKeyTable(Language::English));
    for (std::string line; std::getline(table, line);) {
        std::vector<std::pair<std::size_t, std::string>> words;
        for (std::size_t end = 0;;) {
            const std::size_t start = line.find_first_not_of(' ', end);
            if (start == std::string::npos)
                break;
            end = std::min(line.find(' ', start), line.size());
            words.emplace_back(end, line.substr(start, end - start));
        }
        if (words.empty())
            continue;
        if (words.front().second == "Test") {
            columns.clear();
            for (auto each = words.begin() + 1; each != words.end(); ++each)
                columns[each->first] = std::stoi(each->second);
        } else if (!columns.empty()) {
            const int test = std::stoi(words.front().second);
            for (auto each = words.begin() + 1; each != words.end(); ++each) {
                ASSERT_TRUE(columns.contains(each->first)) << line;
                shown[{ test, columns[each->first] }] = each->second;
            }
        }
    }
    ASSERT_EQ(shown.size(), 800u);
    for (int test = 1; test <= TestCount; ++test) {
        for (int question = 1; question <= QuestionsPerTest; ++question) {
            std::string letters;
            for (const Option option : AllOptions)
                if (key.Mark({ test, question }, option) == AnswerMark::X)
                    letters += static_cast<char>('A' + static_cast<int>(option));
            EXPECT_EQ((shown[{ test, question }]), letters) << test << "/" << question;
        }
    }
}

// The checker's workers: the results in the items' order whatever order they finish in, never
// more items under way than the window, and the first failure thrown on after the items before it.
TEST(OrderedParallelMap, KeepsTheOrderAndTheWindowAndThrowsTheFirstFailureOn)
{
    constexpr int Never = -1;
    const struct {
        const char* Why;
        int Count;
        unsigned Workers;
        int Window;
        int FunctionThrowsAt;
        int ConsumerThrowsAt;
    } cases[] = {
        { "no items", 0, 2, 4, Never, Never },
        { "the checker's workers", 200, 2, 4, Never, Never },
        { "more workers than the window", 60, 4, 2, Never, Never },
        { "a window of one", 30, 2, 1, Never, Never },
        { "the function fails", 100, 2, 4, 37, Never },
        { "the consumer fails", 100, 2, 4, Never, 37 },
    };
    for (const auto& each : cases) {
        SCOPED_TRACE(each.Why);
        std::mutex mutex;
        std::condition_variable changed;
        int started = 0;
        int consumed = 0;
        int mostUnderWay = 0;
        std::vector<int> order;
        std::vector<int> values;
        const auto function = [&](int index) {
            {
                const std::lock_guard lock(mutex);
                ++started;
                mostUnderWay = std::max(mostUnderWay, started - consumed);
            }
            changed.notify_all();
            // Every third item takes longer, so that the items finish out of order.
            if (index % 3 == 0)
                std::this_thread::sleep_for(std::chrono::microseconds(300));
            if (index == each.FunctionThrowsAt)
                throw std::runtime_error("function");
            return std::make_unique<int>(index * index);
        };
        const auto consume = [&](int index, std::unique_ptr<int> value) {
            if (index == 0) {
                // The workers fill the window while the first result waits here, and are given
                // a moment to go beyond it.
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return started >= std::min(each.Count, each.Window); });
                lock.unlock();
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            order.push_back(index);
            values.push_back(*value);
            if (index == each.ConsumerThrowsAt)
                throw std::runtime_error("consumer");
            const std::lock_guard lock(mutex);
            ++consumed;
        };
        std::string failure;
        try {
            OrderedParallelMap(each.Count, each.Workers, each.Window, function, consume);
        } catch (const std::runtime_error& error) {
            failure = error.what();
        }

        const int delivered = each.FunctionThrowsAt != Never ? each.FunctionThrowsAt
            : each.ConsumerThrowsAt != Never                 ? each.ConsumerThrowsAt + 1
                                                             : each.Count;
        std::vector<int> expected(static_cast<std::size_t>(delivered));
        std::iota(expected.begin(), expected.end(), 0);
        EXPECT_EQ(order, expected);
        for (int& value : expected)
            value *= value;
        EXPECT_EQ(values, expected);
        EXPECT_EQ(failure,
            each.FunctionThrowsAt != Never       ? "function"
                : each.ConsumerThrowsAt != Never ? "consumer"
                                                 : "");
        EXPECT_EQ(mostUnderWay, std::min(each.Count, each.Window));
    }
}

} // namespace
} // namespace brzdomat
