// The result sheet, read back with poppler's tools: the head, every row as the review lists it,
// the wrong answers' pictures or the program's message for one it cannot show, the line for the
// student's name; the same sheet in memory for a page's download; the proposed file names.

#include "bank/picture_area.h"
#include "bank/question_picture.h"
#include "testrun/exam_controller.h"
#include "testrun/picture_display.h"
#include "tests/testsupport/jpeg_maker.h"
#include "ui/qt/result_sheet.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace brzdomat {
namespace {

namespace fs = std::filesystem;

// What a command prints, or nothing when it fails.
std::string Output(const std::string& command)
{
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t read; (read = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
            text.append(buffer, read);
        if (pclose(pipe) != 0)
            text.clear();
    }
    return text;
}

// Runs of blanks in the text made one blank, with none at either end of a line; with
// lineBreaks false, line breaks count as blanks too.
std::string Collapsed(const std::string& text, bool lineBreaks)
{
    std::string result;
    bool blank = false;
    for (const char each : text) {
        if (each == '\n' && lineBreaks) {
            while (!result.empty() && result.back() == ' ')
                result.pop_back();
            result += '\n';
            blank = false;
        } else if (each == ' ' || each == '\t' || each == '\n' || each == '\f') {
            blank = !result.empty() && result.back() != '\n';
        } else {
            if (blank)
                result += ' ';
            blank = false;
            result += each;
        }
    }
    return result;
}

// The sheet's text line by line as laid out, each line's runs of blanks made one blank.
std::string LaidOutText(const fs::path& pdf)
{
    return Collapsed(Output("pdftotext -layout '" + pdf.string() + "' -"), true);
}

OptionTicks Ticks(std::initializer_list<Option> options)
{
    OptionTicks ticks {};
    for (const Option option : options)
        ticks[static_cast<std::size_t>(option)] = true;
    return ticks;
}

TEST(ResultSheet, ShowsTheHeadEveryRowTheWrongAnswersAndTheNameLine)
{
    testing::TemporaryFolder folder;
    fs::create_directory(folder.Path() / PictureFolderName);
    testing::JpegRecipe picture;
    picture.Width = VisibleWidth;
    picture.Height = VisibleHeight;
    testing::WriteBytes(
        QuestionPicturePath(folder.Path().string(), { 7, 2 }), testing::MakeJpeg(picture));

    ResultSheetContent content;
    content.Ended = QDateTime(QDate(2026, 12, 8), QTime(14, 5));
    content.TestMode = std::string(ModeWholeTest);
    content.Test = 7;
    content.HeadLines = { "Test 7", "Ukončen: všechny otázky zodpovězeny", "Body: 5 chybných" };
    content.Verdict = "NEZVLÁDÁTE";
    content.VerdictColour = Qt::red;
    content.StartDirectory = folder.Path().string();
    content.Rows = {
        { 1, { 7, 1 }, 1, Ticks({ Option::A }), Ticks({ Option::A }), RowOutcome::Right },
        { 2, { 7, 2 }, 3, Ticks({ Option::B, Option::C }), Ticks({ Option::A }),
            RowOutcome::Wrong },
        { 3, { 7, 3 }, 2, {}, Ticks({ Option::D }), RowOutcome::Unanswered },
        { 4, { 7, 4 }, 2, Ticks({ Option::A }), Ticks({ Option::B, Option::D }),
            RowOutcome::Wrong },
    };

    const fs::path file = folder.Path() / "výsledek.pdf";
    QString error;
    ASSERT_TRUE(WriteResultSheet(content, QString::fromStdString(file.string()), error))
        << error.toStdString();
    const std::string text = LaidOutText(file);
    for (const std::string_view expected : {
             "Brzdomat: výsledek testu\n",
             "\nDatum a čas: 8. 12. 2026 14:05\n",
             "\nTest 7\nUkončen: všechny otázky zodpovězeny\nBody: 5 chybných\n",
             "\nNEZVLÁDÁTE\n",
             "\nJméno studenta:\n",
             "\nPořadí Otázka Body Váš výběr Správně Výsledek\n"
             "1 7/1 1 A A správně\n"
             "2 7/2 3 B, C A špatně\n"
             "3 7/3 2 – D nezodpovězeno\n"
             "4 7/4 2 A B, D špatně\n",
             "\nChybné odpovědi\n",
             "7/2 · 3 body 7/4 · 2 body\n",
         }) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\nin:\n" << text;
    }
    // The picture of 7/4 is missing: its cell says so in the program's words, and the sheet
    // holds the one picture there is.
    const std::string oneLine = Collapsed(text, false);
    EXPECT_NE(oneLine.find(std::string(PictureFailureText)), std::string::npos) << oneLine;
    EXPECT_EQ(Output("pdfimages -list '" + file.string() + "' | tail -n +3 | wc -l"), "1\n");

    // The page's download is the same sheet.
    const QByteArray bytes = ResultSheetBytes(content);
    const fs::path downloaded = folder.Path() / "download.pdf";
    std::ofstream(downloaded, std::ios::binary).write(bytes.constData(), bytes.size());
    EXPECT_EQ(LaidOutText(downloaded), text);

    const struct {
        std::string_view Mode;
        const char* Name;
    } names[] = {
        { ModeWholeTest, "Brzdomat-test-7-2026-12-08.pdf" },
        { ModeRandomSelection, "Brzdomat-nahodny-vyber-2026-12-08.pdf" },
        { ModeFullyRandom, "Brzdomat-nahodne-otazky-2026-12-08.pdf" },
        { ModeMistakes, "Brzdomat-chybne-otazky-2026-12-08.pdf" },
    };
    for (const auto& each : names) {
        content.TestMode = std::string(each.Mode);
        EXPECT_EQ(ResultSheetFileName(content).toStdString(), each.Name);
    }
}

} // namespace
} // namespace brzdomat
