// brzdomat-check-pictures [--sheet FILE.pdf [--open]] [FOLDER]: checks the question pictures
// below FOLDER, or below the current folder, as brzdomat started there would load them, and
// writes a review sheet of them with the key's answers. brzdomat-check-pictures --key prints the
// answer key.

#include "bank/question_picture.h"
#include "tools/check_pictures/key_table.h"
#include "tools/check_pictures/picture_check.h"
#include "tools/common/command_line.h"
#include "tools/common/desktop.h"
#include "tools/common/user_language.h"

#ifdef BRZDOMAT_REVIEW_SHEET
#include "tools/check_pictures/review_sheet.h"

#include <QGuiApplication>
#include <QLoggingCategory>
#endif

#include <filesystem>
#include <iostream>
#include <memory>
#include <new>
#include <optional>
#include <string>

namespace {

using namespace brzdomat;

constexpr int ExitFailure = 2;

std::string_view Usage(Language language)
{
    return Say(language,
        "Usage: brzdomat-check-pictures [--sheet FILE.pdf [--open]] [FOLDER]\n"
        "       brzdomat-check-pictures --key\n",
        "Použití: brzdomat-check-pictures [--sheet SOUBOR.pdf [--open]] [SLOŽKA]\n"
        "         brzdomat-check-pictures --key\n");
}

std::string_view Help(Language language)
{
    return Say(language,
        "Checks the 800 question pictures img/1_1.jpg .. img/32_25.jpg below FOLDER\n"
        "(by default the current folder) exactly as brzdomat started in FOLDER would\n"
        "load them. Prints one line per picture that it would not show as intended,\n"
        "a note per other file in img, and a summary.\n"
        "\n"
        "  --sheet FILE.pdf  also write a review sheet to compare the pictures with the\n"
        "                    key: a page per test with its 25 pictures as the program\n"
        "                    shows them, each with its points and correct answers,\n"
        "                    and a first page with the findings\n"
        "  --open            open the review sheet in the system's PDF viewer\n"
        "  --key             print the program's answer key as a table\n"
        "  -h, --help        print this help\n"
        "\n"
        "Exit status: 0 all pictures are fine, 1 some are not, 2 the folder cannot be\n"
        "read, the review sheet cannot be written or the command line is wrong.\n",
        "Prohlédne 800 obrázků otázek img/1_1.jpg .. img/32_25.jpg ve SLOŽCE (bez ní\n"
        "v aktuální složce) přesně tak, jak by je načetl brzdomat spuštěný ve SLOŽCE.\n"
        "Pro každý obrázek, který by program neukázal, jak má, vypíše řádek, pro každý\n"
        "další soubor ve složce img poznámku a nakonec souhrn.\n"
        "\n"
        "  --sheet SOUBOR.pdf  zapíše i přehled k porovnání obrázků s klíčem: stránku\n"
        "                      pro každý test s jeho 25 obrázky, jak je program ukáže,\n"
        "                      s body a správnými odpověďmi, a úvodní stránku s nálezy\n"
        "  --open              otevře přehled v prohlížeči PDF\n"
        "  --key               vypíše klíč správných odpovědí programu jako tabulku\n"
        "  -h, --help          vypíše tuto nápovědu\n"
        "\n"
        "Návratová hodnota: 0 všechny obrázky jsou v pořádku, 1 některé ne, 2 složku\n"
        "nejde číst, přehled nejde zapsat nebo je chybný příkazový řádek.\n");
}

struct Options {
    bool Help = false;
    bool Key = false;
    bool Open = false;
    std::optional<std::string> Sheet;
    std::optional<std::string> Folder;
};

// Prints what is wrong with the command line and gives nothing back then.
std::optional<Options> ParseOptions(const std::vector<std::string>& arguments, Language language)
{
    Options options;
    bool optionsEnd = false;
    const auto wrong = [&](std::string_view english, std::string_view czech,
                           const std::string& detail = {}) {
        std::cerr << "brzdomat-check-pictures: " << Say(language, english, czech) << detail << "\n"
                  << Usage(language);
        return std::nullopt;
    };
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        const std::string& argument = arguments[index];
        if (optionsEnd || argument.empty() || argument[0] != '-' || argument == "-") {
            if (options.Folder)
                return wrong("more than one folder given", "zadána víc než jedna složka");
            options.Folder = argument;
        } else if (argument == "--") {
            optionsEnd = true;
        } else if (argument == "--help" || argument == "-h") {
            options.Help = true;
        } else if (argument == "--key") {
            options.Key = true;
        } else if (argument == "--open") {
            options.Open = true;
        } else if (argument == "--sheet" || argument.starts_with("--sheet=")) {
            if (argument != "--sheet")
                options.Sheet = argument.substr(8);
            else if (index + 1 < arguments.size())
                options.Sheet = arguments[++index];
            if (!options.Sheet || options.Sheet->empty())
                return wrong("--sheet needs the name of the PDF file to write",
                    "--sheet potřebuje jméno souboru PDF, který má zapsat");
        } else {
            return wrong("unknown option ", "neznámá volba ", argument);
        }
    }
    if (options.Open && !options.Sheet)
        return wrong("--open opens the review sheet, so it needs --sheet",
            "--open otevírá přehled, a tak potřebuje --sheet");
    return options;
}

int Check(const Options& options, Language language, char* argv0)
{
    if (options.Key) {
        std::cout << AnswerKeyTable(language);
        return 0;
    }

    // The sheet's name is taken as given, before the checker moves into the folder.
    std::filesystem::path sheetFile;
    if (options.Sheet) {
        std::error_code error;
        sheetFile = std::filesystem::absolute(PathFromUtf8(*options.Sheet), error);
        if (error)
            sheetFile = PathFromUtf8(*options.Sheet);
    }

    // The program takes its start directory from the system after starting in the folder, so
    // the checker does the same: symbolic links and relative names resolve as they would there.
    if (options.Folder) {
        std::error_code error;
        std::filesystem::current_path(PathFromUtf8(*options.Folder), error);
        if (error) {
            std::cerr << "brzdomat-check-pictures: "
                      << Say(language, "cannot open the folder ", "nejde otevřít složku ")
                      << *options.Folder << ": " << error.message() << "\n";
            return ExitFailure;
        }
    }
    const std::string startDirectory = CurrentDirectory();
    if (startDirectory.empty()) {
        std::cerr << "brzdomat-check-pictures: "
                  << Say(language, "the current folder cannot be determined",
                         "aktuální složku nejde zjistit")
                  << "\n";
        return ExitFailure;
    }

#ifdef BRZDOMAT_REVIEW_SHEET
    std::optional<QGuiApplication> application;
    std::unique_ptr<ReviewSheet> sheet;
    if (options.Sheet) {
#ifndef _WIN32
        // The sheet is drawn off screen; the checker must work without any display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
        // The report is for a teacher; the windowing system's notes (such as a refused DPI
        // mode) would stand between its lines.
        QLoggingCategory::setFilterRules(QStringLiteral("qt.qpa.*=false"));
        static int qtArgc = 1;
        application.emplace(qtArgc, &argv0);
        sheet = std::make_unique<ReviewSheet>(sheetFile, language);
        // A place that cannot take the sheet is told before the pictures are checked.
        if (!sheet->Begin()) {
            std::cerr << "brzdomat-check-pictures: "
                      << Say(language,
                             "the review sheet cannot be written: ", "přehled nejde zapsat: ")
                      << sheet->Error() << "\n";
            return ExitFailure;
        }
    }
#else
    (void)argv0;
    if (options.Sheet) {
        std::cerr << "brzdomat-check-pictures: "
                  << Say(language, "this build cannot write a review sheet",
                         "tato verze neumí zapsat přehled")
                  << "\n";
        return ExitFailure;
    }
#endif

    const FolderReport report = CheckPictureFolder(startDirectory, std::cerr, language);
    if (report.Result == FolderCheck::FolderNotReadable)
        return ExitFailure;
    for (const std::string& line : report.Lines)
        std::cout << line << "\n";
    std::cout << report.Summary << "\n";

#ifdef BRZDOMAT_REVIEW_SHEET
    if (sheet) {
        // The first page tells what the check found, so the pictures are loaded again for theirs.
        sheet->AddSummary(report);
        LoadShownPictures(startDirectory, report, &ReviewSheet::Reduce,
            [&](QuestionRef question, const PictureVerdict& verdict, const RgbImage* image) {
                sheet->AddPicture(question, verdict, image);
            });
        if (!sheet->Finish()) {
            std::cout.flush();
            std::cerr << "brzdomat-check-pictures: "
                      << Say(language,
                             "the review sheet cannot be written: ", "přehled nejde zapsat: ")
                      << sheet->Error() << "\n";
            return ExitFailure;
        }
        std::cout << Say(language, "Review sheet: ", "Přehled: ") << Utf8FromPath(sheetFile)
                  << "\n";
        if (options.Open && !OpenWithViewer(sheetFile)) {
            std::cout.flush();
            std::cerr << "brzdomat-check-pictures: "
                      << Say(language, "no PDF viewer could open the review sheet",
                             "přehled nešel otevřít v žádném prohlížeči PDF")
                      << "\n";
            return ExitFailure;
        }
    }
#endif
    return report.Result == FolderCheck::AllFine ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    const Utf8Console console;
    const Language language = UserLanguage();
    int status = ExitFailure;
    if (const auto options = ParseOptions(Utf8Arguments(argc, argv), language)) {
        if (options->Help) {
            std::cout << Usage(language) << Help(language);
            status = 0;
        } else {
            try {
                status = Check(*options, language, argv[0]);
            } catch (const std::bad_alloc&) {
                std::cerr << "brzdomat-check-pictures: "
                          << Say(language, "not enough memory", "nedostatek paměti") << "\n";
            }
        }
    }
    // A console opened for the checker alone, as from the Start menu, would close with it
    // before its report could be read.
    if (Utf8Console::OwnsItsWindow()) {
        std::cout << Say(
            language, "Press Enter to close this window.", "Okno zavřete klávesou Enter.");
        std::cout.flush();
        std::cin.get();
    }
    return status;
}
