// Writes the sample question pictures 1_1.jpg .. 32_25.jpg into the folder given as the only
// argument, e.g. `brzdomat-sample-pictures work/img`, and keeps any picture already there.

#include "tools/common/command_line.h"
#include "tools/common/user_language.h"
#include "tools/sample_pictures/sample_set.h"

#include <QGuiApplication>

#include <iostream>

int main(int argc, char* argv[])
{
    using namespace brzdomat;
    const Utf8Console console;
    const Language language = UserLanguage();
    const std::vector<std::string> arguments = Utf8Arguments(argc, argv);
    const std::string_view usage = Say(language,
        "Usage: brzdomat-sample-pictures FOLDER\n"
        "Writes the sample question pictures 1_1.jpg .. 32_25.jpg into FOLDER.\n",
        "Použití: brzdomat-sample-pictures SLOŽKA\n"
        "Zapíše ukázkové obrázky otázek 1_1.jpg .. 32_25.jpg do SLOŽKY.\n");
    // An option is never taken for a folder: "--help" would otherwise fill a folder of that name.
    if (arguments.size() == 2 && (arguments[1] == "--help" || arguments[1] == "-h")) {
        std::cout << usage;
        return 0;
    }
    if (arguments.size() != 2 || arguments[1].empty() || arguments[1][0] == '-') {
        std::cerr << usage;
        return 2;
    }
#ifndef _WIN32
    // The cards are drawn off screen; the tool must work without any display. Windows always
    // has one, and its own platform plugin, which the program ships anyway, draws as well.
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);

    const std::string& folder = arguments[1];
    const auto report = WriteSampleSet(PathFromUtf8(folder), language);
    if (!report.Error.empty()) {
        std::cerr << "brzdomat-sample-pictures: " << report.Error << " (";
        if (language == Language::Czech)
            std::cerr << "zapsáno: " << report.Written << ", už tam bylo: " << report.Kept;
        else
            std::cerr << report.Written << " written, " << report.Kept << " already there";
        std::cerr << ")\n";
        return 1;
    }
    // Czech counts in the form that needs no agreement with the number.
    if (language == Language::Czech)
        std::cout << folder << ": zapsáno obrázků: " << report.Written
                  << ", už tam bylo a zůstalo: " << report.Kept << "\n";
    else
        std::cout << folder << ": " << report.Written << " pictures written, " << report.Kept
                  << " already there and kept\n";
    return 0;
}
