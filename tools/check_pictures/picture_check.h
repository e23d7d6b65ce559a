#pragma once

// Looks at the question pictures exactly as the program will load them, with the program's own
// path rule, loading code and limits, and says which of them the program would not show as
// intended and why. It only reads: it never changes, moves or repairs a file.

#include "bank/question_ref.h"
#include "tools/common/user_language.h"

#include <array>
#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace brzdomat {

// Worst first: a picture with several findings is counted under the first of them.
enum class PictureFinding {
    Missing,
    NotReadable,
    Folder,
    NotRegularFile,
    Empty,
    NotJpeg,
    Damaged,
    OverLimit,
    OutOfMemory,
    // The program shows these, but not as intended.
    CutShort,
    FlawedData,
    Larger,
    Smaller,
    Greyscale,
    Fine,
};
inline constexpr std::size_t PictureFindingCount
    = static_cast<std::size_t>(PictureFinding::Fine) + 1;

struct PictureVerdict {
    PictureFinding Finding = PictureFinding::Fine;
    // Every finding in words, for the picture's line; empty when the picture is fine.
    std::string Text;
    // The program loads the picture instead of reporting it with its message.
    bool Shown = false;
};

// One picture file, by the path the program opens. otherCaseName names a file in the same folder
// whose name differs only in letter case, for the line of a missing picture.
PictureVerdict CheckPicture(const std::string& path, std::string_view otherCaseName = {},
    Language language = Language::English);

enum class FolderCheck { AllFine, Findings, FolderNotReadable };

struct FolderReport {
    FolderCheck Result = FolderCheck::FolderNotReadable;
    // The picture folder, as the program names it.
    std::string PictureFolder;
    // One line per picture that is not fine, in the program's order, then a note per file in the
    // picture folder that the program never reads.
    std::vector<std::string> Lines;
    // "800 pictures: 795 fine, 3 missing, ...".
    std::string Summary;
};

// Checks all pictures below startDirectory, as the program started there would load them. A
// folder that cannot be read at all goes to errors. One picture a worker is in memory at a time.
FolderReport CheckPictureFolder(
    const std::string& startDirectory, std::ostream& errors, Language language);

// The same, writing the report's lines and its summary to out.
FolderCheck CheckPictureFolder(const std::string& startDirectory, std::ostream& out,
    std::ostream& errors, Language language = Language::English);

} // namespace brzdomat
