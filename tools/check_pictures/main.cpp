// brzdomat-check-pictures [FOLDER]: checks the question pictures below FOLDER, or below the
// current folder, as brzdomat started there would load them. brzdomat-check-pictures --key
// prints the answer key.

#include "bank/question_picture.h"
#include "tools/check_pictures/key_table.h"
#include "tools/check_pictures/picture_check.h"
#include "tools/common/command_line.h"
#include "tools/common/user_language.h"

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace {

using namespace brzdomat;

constexpr int ExitFailure = 2;

std::string_view Usage(Language language)
{
    return Say(language,
        "Usage: brzdomat-check-pictures [FOLDER]\n"
        "       brzdomat-check-pictures --key\n",
        "Použití: brzdomat-check-pictures [SLOŽKA]\n"
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
        "  --key             print the program's answer key as a table\n"
        "  -h, --help        print this help\n"
        "\n"
        "Exit status: 0 all pictures are fine, 1 some are not, 2 the folder cannot be\n"
        "read or the command line is wrong.\n",
        "Prohlédne 800 obrázků otázek img/1_1.jpg .. img/32_25.jpg ve SLOŽCE (bez ní\n"
        "v aktuální složce) přesně tak, jak by je načetl brzdomat spuštěný ve SLOŽCE.\n"
        "Pro každý obrázek, který by program neukázal, jak má, vypíše řádek, pro každý\n"
        "další soubor ve složce img poznámku a nakonec souhrn.\n"
        "\n"
        "  --key               vypíše klíč správných odpovědí programu jako tabulku\n"
        "  -h, --help          vypíše tuto nápovědu\n"
        "\n"
        "Návratová hodnota: 0 všechny obrázky jsou v pořádku, 1 některé ne, 2 složku\n"
        "nejde číst nebo je chybný příkazový řádek.\n");
}

struct Options {
    bool Help = false;
    bool Key = false;
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
        } else {
            return wrong("unknown option ", "neznámá volba ", argument);
        }
    }
    return options;
}

int Check(const Options& options, Language language)
{
    if (options.Key) {
        std::cout << AnswerKeyTable(language);
        return 0;
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

    const FolderReport report = CheckPictureFolder(startDirectory, std::cerr, language);
    if (report.Result == FolderCheck::FolderNotReadable)
        return ExitFailure;
    for (const std::string& line : report.Lines)
        std::cout << line << "\n";
    std::cout << report.Summary << "\n";

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
            status = Check(*options, language);
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
