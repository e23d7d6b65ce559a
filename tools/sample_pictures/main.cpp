// Writes the sample question pictures 1_1.jpg .. 32_25.jpg into the folder given as the only
// argument, e.g. `brzdomat-sample-pictures work/img`, and keeps any picture already there.

#include "tools/sample_pictures/sample_set.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char* argv[])
{
    constexpr const char* usage
        = "Usage: brzdomat-sample-pictures FOLDER\n"
          "Writes the sample question pictures 1_1.jpg .. 32_25.jpg into FOLDER.\n";
    // An option is never taken for a folder: "--help" would otherwise fill a folder of that name.
    const bool help
        = argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0);
    if (help) {
        std::fputs(usage, stdout);
        return 0;
    }
    if (argc != 2 || argv[1][0] == '\0' || argv[1][0] == '-') {
        std::fputs(usage, stderr);
        return 2;
    }
    // The cards are drawn off screen; the tool must work without any display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);

    const auto report = brzdomat::WriteSampleSet(argv[1]);
    if (!report.Error.empty()) {
        std::fprintf(stderr, "brzdomat-sample-pictures: %s (%d written, %d already there)\n",
            report.Error.c_str(), report.Written, report.Kept);
        return 1;
    }
    std::printf("%s: %d pictures written, %d already there and kept\n", argv[1], report.Written,
        report.Kept);
    return 0;
}
