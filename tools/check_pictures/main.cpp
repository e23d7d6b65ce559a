// brzdomat-check-pictures [FOLDER]: checks the question pictures below FOLDER, or below the
// current folder, as brzdomat started there would load them.

#include "bank/question_picture.h"
#include "tools/check_pictures/picture_check.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

namespace {

constexpr const char* Usage = "Usage: brzdomat-check-pictures [FOLDER]\n";

constexpr const char* Help
    = "Checks the 800 question pictures img/1_1.jpg .. img/32_25.jpg below FOLDER\n"
      "(by default the current folder) exactly as brzdomat started in FOLDER would\n"
      "load them. Prints one line per picture that it would not show as intended,\n"
      "a note per other file in img, and a summary.\n"
      "\n"
      "Exit status: 0 all pictures are fine, 1 some are not, 2 the folder cannot be\n"
      "read.\n";

constexpr int ExitFolderNotReadable = 2;

} // namespace

int main(int argc, char* argv[])
{
    const char* folder = nullptr;
    bool options = true;
    for (int index = 1; index < argc; ++index) {
        const char* argument = argv[index];
        if (options && std::strcmp(argument, "--") == 0) {
            options = false;
        } else if (options
            && (std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0)) {
            std::fputs(Usage, stdout);
            std::fputs(Help, stdout);
            return 0;
        } else if (options && argument[0] == '-' && argument[1] != '\0') {
            std::fprintf(stderr, "brzdomat-check-pictures: unknown option %s\n%s", argument, Usage);
            return ExitFolderNotReadable;
        } else if (folder == nullptr) {
            folder = argument;
        } else {
            std::fputs(Usage, stderr);
            return ExitFolderNotReadable;
        }
    }

    // The program takes its start directory from the system after starting in the folder, so
    // the checker does the same: symbolic links and relative names resolve as they would there.
    if (folder != nullptr) {
        std::error_code error;
        std::filesystem::current_path(folder, error);
        if (error) {
            std::fprintf(stderr, "brzdomat-check-pictures: cannot open the folder %s: %s\n", folder,
                error.message().c_str());
            return ExitFolderNotReadable;
        }
    }
    const std::string startDirectory = brzdomat::CurrentDirectory();
    if (startDirectory.empty()) {
        std::fputs("brzdomat-check-pictures: the current folder cannot be determined\n", stderr);
        return ExitFolderNotReadable;
    }

    const auto result = brzdomat::CheckPictureFolder(startDirectory, std::cout, std::cerr);
    switch (result) {
    case brzdomat::FolderCheck::AllFine:
        return 0;
    case brzdomat::FolderCheck::Findings:
        return 1;
    case brzdomat::FolderCheck::FolderNotReadable:
        break;
    }
    return ExitFolderNotReadable;
}
