// Writes the sample question pictures 1_1.jpg .. 32_25.jpg into the folder given as the only
// argument, e.g. `brzdomat-sample-pictures work/img`, and keeps any picture already there.

#include "tools/sample_pictures/sample_set.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>

#include <shellapi.h>
#endif

namespace {

// The folder argument as the system holds it. Windows hands a program's main its arguments in
// the ANSI code page, which cannot hold every Czech folder name; the UTF-16 command line can.
std::filesystem::path FolderArgument([[maybe_unused]] const char* narrow)
{
#ifdef _WIN32
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::filesystem::path folder(narrow);
    if (arguments && count == 2)
        folder = arguments[1];
    LocalFree(arguments);
    return folder;
#else
    return narrow;
#endif
}

} // namespace

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
#ifndef _WIN32
    // The cards are drawn off screen; the tool must work without any display. Windows always
    // has one, and its own platform plugin, which the program ships anyway, draws as well.
    qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);

    const auto report = brzdomat::WriteSampleSet(FolderArgument(argv[1]));
    if (!report.Error.empty()) {
        std::fprintf(stderr, "brzdomat-sample-pictures: %s (%d written, %d already there)\n",
            report.Error.c_str(), report.Written, report.Kept);
        return 1;
    }
    std::printf("%s: %d pictures written, %d already there and kept\n", argv[1], report.Written,
        report.Kept);
    return 0;
}
